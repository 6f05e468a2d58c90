#include "run/banner.h"

#include "console.h"

namespace {

constexpr std::string_view kRule =
    "******************************************************\n";

}  // namespace

Text FramedLine(std::string_view text) {
  Text line = "** ";
  line.append(text);
  if (line.size() + 2 < kBannerWidth) {
    line.append(kBannerWidth - 2 - line.size(), ' ');
  }
  line.append("**\n");
  return line;
}

void PrintBanner() {
  Print({"\n"});
  Print({kRule});
  Print({FramedLine("Firma       : Zutrittskontrolle per ODBC")});
  Print({FramedLine("Projekt     : KARVELION")});
  Print({FramedLine("Tool        : Kfx28M4RBV")});
  // 0xDC is the Windows-1252 "U umlaut" of the console texts.
  Print(
      {FramedLine("Beschreibung:  \xDC"
                  "bernahme der Zutrittsbuchungen")});
  Print({FramedLine("               aus der DHWEB71S in das Schema")});
  Print({FramedLine("               VORKALIN Tabelle Vrk402Zpk")});
  Print({kRule});
  Print({"\n"});
}

void PrintUsage() {
  Print({"Befehlsformat: \n"});
  Print({"Kfx28M4RBV.EXE Sektionname Terminalname Datei \n"});
  Print({"\n"});
  Print({"Sektionsname = Name der Sektion in der Ini-Datei     \n"});
  Print({"Terminalname = Parameter fuer das SQL-Statement      \n"});
  Print({"Datei        = Dateiname der Eingabedatei            \n"});
  Print({"\n"});
  Print({"Beispiel:\n"});
  Print({"Kfx28M4RBV.EXE DHWEB71S ZutCtrl AdminVR.ZutCtrl.dhweb71s.txt 1\n"});
  Print({"\n"});
}
