// The Windows build, run under Wine beside the Linux build: the same console
// texts and exit codes, with a Windows console program's line breaks, and
// the same rows through Wine's ODBC bridge to the throwaway cluster.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "e2e_support.h"

namespace {

namespace fs = std::filesystem;

// Runs the .exe with `args` in `dir`. The arguments come from a UTF-8
// command line, as on a Linux terminal.
ToolRun RunExe(const fs::path& dir, const std::vector<std::string>& args) {
  std::string command = "cd " + ShellQuoted(dir.string()) +
                        " && WINEPREFIX=" + ShellQuoted(KFX_WINEPREFIX) +
                        " WINEDEBUG=-all LC_ALL=C.UTF-8 " +
                        ShellQuoted(KFX_WINE) + " " +
                        ShellQuoted(KFX_WINDOWS_EXE);
  for (const std::string& arg : args)
    command += " " + ShellQuoted(arg);
  return RunCaptured(dir, command);
}

// A Linux text as the Windows build writes it: every line feed as CR LF,
// where it does not already follow a carriage return.
std::string WithCrLf(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
      out += '\r';
    out += text[i];
  }
  return out;
}

TEST(WineTest, SameTextsAndExitCodesAsTheLinuxBuild) {
  const std::string bookings = Booking("1", "150306", "073015", "03", '1') +
                               Booking("2", "150306", "073016", "03", 'A');
  const struct {
    const char* why;
    std::string settings;  // empty: no settings file
    std::vector<std::string> args;
    int exit_code;
  } kCases[] = {
      {"argument error", SettingsFile("KFX_PG", "ORACLE"), {"S", "T"}, 1},
      {"settings error", "", {}, 5},
      {"booking file missing, a warning on standard error",
       SettingsFile("KFX_NO_SUCH_DSN", "ORACLE"),
       {"S", "Wine", "missing.txt"},
       0},
      {"missing data source",
       SettingsFile("KFX_NO_SUCH_DSN", "ORACLE"),
       {"S", "Wine", "in.txt", "/d"},
       2},
  };
  for (const auto& c : kCases) {
    WorkDir dir;
    if (!c.settings.empty())
      dir.Write("DHWEB05S.TXT", c.settings);
    dir.Write("in.txt", bookings);
    const ToolRun linux_run = RunTool(dir.path(), c.args);
    const ToolRun windows_run = RunExe(dir.path(), c.args);
    EXPECT_EQ(c.exit_code, linux_run.exit_code) << c.why;
    EXPECT_EQ(c.exit_code, windows_run.exit_code) << c.why;
    EXPECT_EQ(WithCrLf(linux_run.out), windows_run.out) << c.why;
    EXPECT_EQ(WithCrLf(linux_run.err), windows_run.err) << c.why;
    // The statement's own CR LF is not doubled into CR CR LF.
    EXPECT_EQ(std::string::npos, windows_run.out.find("\r\r")) << c.why;
  }
}

TEST(WineTest, FailedBookingKeepsItsCrLfAndGoesToTheRejectFile) {
  // The input's name holds a character outside Windows-1252: the reject
  // file beside it is made by its wide name too.
  WorkDir dir;
  dir.Write("DHWEB05S.TXT", SettingsFile("KFX_NO_SUCH_DSN", "ORACLE"));
  const std::string record = Booking("1", "150306", "073015", "03", '1');
  const std::string input = "in\xE4\xB8\xAD.txt";  // U+4E2D in UTF-8
  dir.Write(input, record);
  const ToolRun run = RunExe(dir.path(), {"S", "Wine", input});
  EXPECT_EQ(2, run.exit_code) << run.out << run.err;
  EXPECT_EQ(0u, run.out.find("Exception bei Datenbank Open\r\nINSERT INTO "))
      << run.out;
  EXPECT_NE(std::string::npos, run.out.find("'001')\r\nSQLSTATE IM002: "))
      << run.out;
  EXPECT_TRUE(run.out.ends_with(
      "specified\r\n\r\n0 Saetze kopiert aus Datei in?.txt \r\n"))
      << run.out;
  EXPECT_EQ(record, FileContent(dir.path() / (input + ".bad")));
  EXPECT_EQ(
      "Warnung: 1 Buchungen nicht geschrieben, gesichert in 'in?.txt.bad'\r\n",
      run.err);
}

TEST(WineTest, TypicalTransferThroughWinesOdbcBridge) {
  // The input lies in a sub folder named with "\", and its name holds a
  // character outside Windows-1252: the settings are found beside it and
  // the file opens by its wide name; the console shows '?' for it.
  WorkDir dir;
  const fs::path folder = dir.path() / "sub";
  fs::create_directories(folder);
  std::ofstream(folder / "DHWEB05S.TXT", std::ios::binary)
      << SettingsFile("KFX_PG", "ORACLE");
  std::ofstream(folder /
                    "b\xC3\xBC"
                    "cher\xE4\xB8\xAD.txt",
                std::ios::binary)
      << Booking("M\xFCller", "150306", "073015", "03", '1')
      << Booking("777", "311299", "235959", "12", 'G')
      << Booking("A-9", "010100", "000000", "01", 'A');
  const ToolRun run = RunExe(dir.path(), {"DHWEB71S", "WineOdbc",
                                          "sub\\b\xC3\xBC"
                                          "cher\xE4\xB8\xAD.txt"});
  EXPECT_EQ(0, run.exit_code) << run.out << run.err;
  EXPECT_EQ(
      "3 Saetze kopiert aus Datei sub\\b\xFC"
      "cher?.txt \r\n",
      run.out);
  EXPECT_EQ("", run.err);
  EXPECT_EQ(
      "M\xC3\xBCller|2006-03-15 00:00:00|07:30:15|3|100|001\n"
      "777|1999-12-31 00:00:00|23:59:59|12|200|002\n"
      "A-9|2000-01-01 00:00:00|00:00:00|1|201|003\n",
      RowsOf("WineOdbc"));
}

}  // namespace
