// Input files and settings files that are broken in the ways real files
// break, through the built tool: each ends with its expected texts and exit
// code, writes what it can and keeps the rest in the reject file.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "e2e_support.h"

namespace {

namespace fs = std::filesystem;

const std::string kCount = " Saetze kopiert aus Datei in.txt \n";
const std::string kFailure = "Exception bei Datenbank Open\n";
const std::string kSettings = SettingsFile("KFX_PG", "ORACLE");
const std::string kGood = Booking("ok", "150306", "073015", "03", '1');
const std::string kSettingsError =
    "Fehler beim Ermitteln der DB-Infos\nQuelle: "
    "'..\\..\\FILES\\KARVELION.INI'\n\n";
const std::string kUsageEnd =
    "Kfx28M4RBV.EXE DHWEB71S ZutCtrl AdminVR.ZutCtrl.dhweb71s.txt 1\n\n";
// Stands for a folder where a file is expected.
const std::string kFolder = "<folder>";

std::string Rest(size_t bytes) {
  return "Warnung: " + std::to_string(bytes) +
         " Zeichen am Dateiende sind kein vollstaendiger Satz und wurden "
         "nicht uebertragen\n";
}

std::string Rejected(size_t bookings) {
  return "Warnung: " + std::to_string(bookings) +
         " Buchungen nicht geschrieben, gesichert in 'in.txt.bad'\n";
}

struct BadInputCase {
  const char* name;  // also the terminal
  std::string settings;
  std::string input;
  std::string out_has;  // a piece of standard output
  std::string out_end;  // how standard output ends
  std::string err;      // standard error, whole
  int exit_code;
  size_t failures;  // error blocks on standard output
  size_t rejects;   // records in the reject file
  int rows;         // rows of the terminal in the table
  std::vector<std::string> extra_args = {};
};

void Write(const WorkDir& dir, const std::string& name,
           const std::string& content) {
  if (content == kFolder) {
    fs::create_directory(dir.path() / name);
  } else {
    dir.Write(name, content);
  }
}

void ExpectCase(const BadInputCase& c) {
  SCOPED_TRACE(c.name);
  WorkDir dir;
  Write(dir, "DHWEB05S.TXT", c.settings);
  Write(dir, "in.txt", c.input);
  Sql(std::string("delete from vorkalin.vrk402zpk where zpktrm = '") + c.name +
      "'");
  std::vector<std::string> args = {"S", c.name, "in.txt"};
  args.insert(args.end(), c.extra_args.begin(), c.extra_args.end());
  ToolRun run = RunTool(dir.path(), args);
  EXPECT_EQ(c.exit_code, run.exit_code);
  EXPECT_NE(std::string::npos, run.out.find(c.out_has)) << run.out;
  EXPECT_TRUE(run.out.ends_with(c.out_end)) << run.out;
  EXPECT_EQ(c.err, run.err);
  EXPECT_EQ(c.failures, Occurrences(run.out, kFailure)) << run.out;
  EXPECT_EQ(c.rejects * 29, FileContent(dir.path() / "in.txt.bad").size());
  EXPECT_EQ(c.rows, CountOf(c.name));
}

TEST(BadInputTest, InputFiles) {
  std::string high_bytes;
  for (int byte = 0x80; byte <= 0xFF; ++byte)
    high_bytes += static_cast<char>(byte);
  std::string high_badges;
  for (size_t at = 0; at < high_bytes.size(); at += 13)
    high_badges +=
        Booking(high_bytes.substr(at, 13), "150306", "073015", "03", '1');
  std::string zero_badge = Booking("A B", "150306", "073015", "03", '1');
  zero_badge[1] = '\0';
  std::string zero_code = kGood;
  zero_code[28] = '\0';
  const std::string crlf = kGood + "\r\n" + kGood + "\r\n";

  const BadInputCase kCases[] = {
      {"Empty", kSettings, "", "", "0" + kCount, "", 0, 0, 0, 0},
      {"Bytes28", kSettings, kGood.substr(0, 28), "", "0" + kCount, Rest(28), 0,
       0, 0, 0},
      {"Bytes60", kSettings, kGood + kGood + "xy", "", "2" + kCount, Rest(2), 0,
       0, 0, 2},
      // The driver ends the statement at the zero byte; whatever the field,
      // what is left is never a whole statement.
      {"ZeroBadge", kSettings, zero_badge,
       "SQLSTATE 42601: ERROR: unterminated quoted string", "0" + kCount,
       Rejected(1), 2, 1, 1, 0},
      {"ZeroCode", kSettings, zero_code,
       "SQLSTATE 42601: ERROR: syntax error at end of input", "0" + kCount,
       Rejected(1), 2, 1, 1, 0},
      // In the badge they are characters; unquoted, a name the database
      // does not know.
      {"HighBytes", kSettings, high_badges + std::string(29, '\xFF'),
       "column \"\xFF\xFF\" does not exist", "10" + kCount, Rejected(1), 2, 1,
       1, 10},
      // Line breaks are bytes of the records: the second record starts with
      // the first line's CR LF, and what it says is what is written.
      {"CrLf", kSettings, crlf, "", "2" + kCount, Rest(4), 0, 0, 0, 2},
      {"Quotes", kSettings, "a'b          1'0306'7'015''''",
       "Satz nicht gesendet: Sonderzeichen", "0" + kCount, Rejected(1), 2, 1, 1,
       0},
      // In quoted values colons are data; outside, a parameter without a
      // value, and a double colon one colon.
      {"Colons", kSettings,
       Booking("a:b::c", "150306", "073015", "03", '1') +
           "x:y          1:0306:7:015::1:" + "x::y         1::306::7015:::1",
       "Parameter '1' ohne Wert", "1" + kCount, Rejected(2), 2, 2, 2, 1},
      {"Folder", kSettings, kFolder, "", "0" + kCount,
       "Warnung: Eingabedatei 'in.txt' kann nicht gelesen werden\n", 0, 0, 0,
       0},
  };
  for (const auto& c : kCases)
    ExpectCase(c);
  EXPECT_EQ("a:b::c\n", Sql("select zpkasw from vorkalin.vrk402zpk where "
                            "zpktrm = 'Colons'"));
  EXPECT_EQ("\r\nok\n", Sql("select zpkasw from vorkalin.vrk402zpk where "
                            "zpktrm = 'CrLf' and zpklfd = '002'"));
}

TEST(BadInputTest, SettingsFiles) {
  // A section line is read 199 characters at a time: the rest of this one
  // is taken for an entry line without ';', which matches every key.
  const std::string long_section =
      "a;DHWEB05S;" + std::string(240, 'x') + "\n" + kSettings;
  const std::string long_password(300, 'p');
  std::string no_final_break = kSettings;
  no_final_break.pop_back();
  const std::string ctrl_z =
      kSettings.substr(0, kSettings.find("\n;", 20) + 1) + "\x1A" +
      kSettings.substr(kSettings.find("\n;", 20) + 1);

  const BadInputCase kCases[] = {
      {"LongSection", long_section, kGood, "", "0" + kCount,
       "Warnung: DB_SYSTEM '" + std::string(52, 'x') +
           "?' unbekannt (erwartet ORACLE oder MSSQL): keine Buchung "
           "uebertragen\n" +
           Rejected(1),
       2, 0, 1, 0},
      // An entry line is read 399 characters at a time: the value has no
      // line break behind it and reads as empty.
      {"LongEntry",
       ";DHWEB05S;\n2;PASS;" + std::string(450, 'p') + "\n" + kSettings, kGood,
       kSettingsError, kUsageEnd, "", 5, 0, 0, 0},
      // Values are not cut at 200 characters.
      {"LongValue",
       ";DHWEB05S;\n2;PASS;" + long_password + "\n" + kSettings,
       kGood,
       "  DbPwd  = '" + long_password + "'\n",
       "1" + kCount,
       "",
       0,
       0,
       0,
       1,
       {"/D"}},
      {"CtrlZ", ctrl_z, kGood, kSettingsError, kUsageEnd, "", 5, 0, 0, 0},
      {"NoFinalBreak", no_final_break, kGood, kSettingsError, kUsageEnd, "", 5,
       0, 0, 0},
      {"Folder", kFolder, kGood, kSettingsError, kUsageEnd, "", 5, 0, 0, 0},
  };
  for (const auto& c : kCases)
    ExpectCase(c);
}

TEST(BadInputTest, UnreadableFileIsWarnedAbout) {
  WorkDir dir;
  dir.Write("DHWEB05S.TXT", kSettings);
  dir.Write("in.txt", kGood);
  fs::permissions(dir.path() / "in.txt", fs::perms::none);
  if (::access((dir.path() / "in.txt").c_str(), R_OK) == 0) {
    GTEST_SKIP() << "this user reads files without read permission (root)";
  }
  ToolRun run = RunTool(dir.path(), {"S", "Unreadable", "in.txt"});
  EXPECT_EQ(0, run.exit_code);
  EXPECT_EQ("0" + kCount, run.out);
  EXPECT_EQ("Warnung: Eingabedatei 'in.txt' kann nicht gelesen werden\n",
            run.err);
}

TEST(BadInputTest, HundredMegabyteFileIsWalkedToItsEnd) {
  // Records without a booking code cost no statement; the one booking at
  // the end shows that the whole file was read and walked.
  const std::string blank = Booking("none", "150306", "073015", "03", ' ');
  std::string input;
  input.reserve(100 << 20);
  while (input.size() + blank.size() < (100 << 20) - kGood.size())
    input += blank;
  input += kGood;
  WorkDir dir;
  dir.Write("DHWEB05S.TXT", kSettings);
  dir.Write("in.txt", input);
  input.clear();
  input.shrink_to_fit();
  ToolRun run = RunTool(dir.path(), {"S", "Huge", "in.txt"});
  EXPECT_EQ(0, run.exit_code) << run.err;
  EXPECT_EQ("1" + kCount, run.out);
  EXPECT_EQ("", run.err);
  EXPECT_EQ("ok|2006-03-15 00:00:00|07:30:15|3|100|001\n", RowsOf("Huge"));
}

// The runs that take the error paths, under valgrind: no invalid access and
// no memory lost, in the tool or in the ODBC stack under it.
TEST(BadInputTest, ErrorPathsLeakNothing) {
#ifdef KFX_SANITIZE
  // Valgrind cannot run a tool built with AddressSanitizer; there its own
  // LeakSanitizer checks every run, these paths among them.
  GTEST_SKIP() << "built with sanitizers";
#endif
  if (std::system("valgrind --version >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "valgrind is not installed";
  constexpr int kValgrindError = 99;
  const struct {
    const char* name;
    std::string settings;
    std::string input;
    int exit_code;
  } kCases[] = {
      {"no settings", kFolder, kGood, 5},
      {"input is a folder", kSettings, kFolder, 0},
      {"refused, failed and cut records", kSettings,
       kGood + "x'           150306073015003'1" +
           Booking("bad", "311306", "073015", "03", '1') + "xy",
       2},
  };
  for (const auto& c : kCases) {
    WorkDir dir;
    Write(dir, "DHWEB05S.TXT", c.settings);
    Write(dir, "in.txt", c.input);
    const std::string command =
        "cd " + ShellQuoted(dir.path().string()) +
        " && valgrind -q --leak-check=full --errors-for-leak-kinds=definite "
        "--error-exitcode=" +
        std::to_string(kValgrindError) + " " + ShellQuoted(KFX_TOOL) +
        " S Valgrind in.txt >/dev/null 2>.valgrind";
    const int status = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(status)) << c.name;
    EXPECT_EQ(c.exit_code, WEXITSTATUS(status))
        << c.name << "\n"
        << FileContent(dir.path() / ".valgrind");
  }
}

}  // namespace
