// The built tool, run as an operator runs it, against the throwaway
// PostgreSQL cluster (Oracle dialect through orafce) and a FreeTDS data
// source where no server listens.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "e2e_support.h"

namespace {

const std::string kBanner =
    "\n"
    "******************************************************\n"
    "** Firma       : Zutrittskontrolle per ODBC         **\n"
    "** Projekt     : KARVELION                          **\n"
    "** Tool        : Kfx28M4RBV                         **\n"
    "** Beschreibung:  \xDC"
    "bernahme der Zutrittsbuchungen   **\n"
    "**                aus der DHWEB71S in das Schema    **\n"
    "**                VORKALIN Tabelle Vrk402Zpk        **\n"
    "******************************************************\n"
    "\n";

const std::string kUsage =
    "Befehlsformat: \n"
    "Kfx28M4RBV.EXE Sektionname Terminalname Datei \n"
    "\n"
    "Sektionsname = Name der Sektion in der Ini-Datei     \n"
    "Terminalname = Parameter fuer das SQL-Statement      \n"
    "Datei        = Dateiname der Eingabedatei            \n"
    "\n"
    "Beispiel:\n"
    "Kfx28M4RBV.EXE DHWEB71S ZutCtrl AdminVR.ZutCtrl.dhweb71s.txt 1\n"
    "\n";

const std::string kCount = " Saetze kopiert aus Datei ";

class ToolTest : public ::testing::Test {
 protected:
  WorkDir dir_;
};

TEST_F(ToolTest, TypicalRunLandsThreeNumberedRows) {
  dir_.Write("DHWEB05S.TXT", SettingsFile("KFX_PG", "ORACLE"));
  dir_.Write("bookings.txt", Booking("12345", "150306", "073015", "03", '1') +
                                 Booking("777", "311299", "235959", "12", 'G') +
                                 Booking("A-9", "010100", "000000", "01", 'A'));
  ToolRun run = RunTool(dir_.path(), {"DHWEB71S", "Typical", "bookings.txt"});
  EXPECT_EQ(0, run.exit_code) << run.out << run.err;
  EXPECT_EQ("3" + kCount + "bookings.txt \n", run.out);
  EXPECT_EQ("", run.err);
  EXPECT_EQ(
      "12345|2006-03-15 00:00:00|07:30:15|3|100|001\n"
      "777|1999-12-31 00:00:00|23:59:59|12|200|002\n"
      "A-9|2000-01-01 00:00:00|00:00:00|1|201|003\n",
      RowsOf("Typical"));
}

TEST_F(ToolTest, CharactersArriveAsTheyAreMeant) {
  dir_.Write("DHWEB05S.TXT", SettingsFile("KFX_PG", "ORACLE"));
  // The badge comes in Windows-1252 from the file, the terminal name in
  // UTF-8 from the command line; quotes stay data.
  dir_.Write("in.txt",
             Booking("M\xFCller", "150306", "073015", "03", '1') +
                 Booking("O'Brien\x80", "150306", "073016", "03", '1'));
  ToolRun run = RunTool(dir_.path(), {"S", "T\xC3\xBCr", "in.txt"});
  EXPECT_EQ(0, run.exit_code) << run.out << run.err;
  EXPECT_EQ(
      "M\xC3\xBCller|2006-03-15 00:00:00|07:30:15|3|100|001\n"
      "O'Brien\xE2\x82\xAC|2006-03-15 00:00:00|07:30:16|3|100|002\n",
      RowsOf("T\xC3\xBCr"));
}

TEST_F(ToolTest, DebugModeTracesSettingsAndRecords) {
  dir_.Write("DHWEB05S.TXT", SettingsFile("KFX_PG", "ORACLE"));
  const std::string first = Booking("1", "150306", "073015", "03", ' ');
  const std::string second = Booking("2", "150306", "073015", "03", '1');
  dir_.Write("in.txt", first + second + "xy");
  ToolRun run = RunTool(dir_.path(), {"S", "Debug", "in.txt", "/d"});
  EXPECT_EQ(0, run.exit_code) << run.out << run.err;
  EXPECT_EQ(
      " DB-Informationen:\n  DbSys  = 'ORACLE'\n  DbName = 'KFX_PG'\n"
      "  DbUsr  = 'vrk'\n  DbPwd  = 'vrk'\n"
      "  Satz   = '" +
          first + "'\n  Restlaenge = '31'\n  Satz   = '" + second +
          "'\n  Restlaenge = '2'\n1" + kCount + "in.txt \n",
      run.out);
  EXPECT_NE(std::string::npos, run.err.find("2 Zeichen am Dateiende"));
  EXPECT_EQ("2|2006-03-15 00:00:00|07:30:15|3|100|001\n", RowsOf("Debug"));
}

TEST_F(ToolTest, FailedStatementsAreReportedAndTheRunGoesOn) {
  // SQL Server's CONVERT is a syntax error to this database.
  dir_.Write("DHWEB05S.TXT", SettingsFile("KFX_PG", "MSSQL"));
  dir_.Write("in.txt", Booking("1", "150306", "073015", "03", '1') +
                           Booking("2", "150306", "073015", "03", ' ') +
                           Booking("3", "150306", "073015", "03", 'A'));
  ToolRun run = RunTool(dir_.path(), {"S", "Mssql", "in.txt", "1"});
  EXPECT_EQ(2, run.exit_code) << run.out << run.err;
  EXPECT_EQ(2u, Occurrences(run.out, "Exception bei Datenbank Open\n"));
  EXPECT_EQ(0u, run.out.find("Exception bei Datenbank Open\nINSERT INTO "
                             "VORKALIN.VRK402ZPK(ZpkTrm, "));
  EXPECT_NE(std::string::npos, run.out.find("'001')\r\nSQLSTATE 42601: "));
  EXPECT_NE(std::string::npos, run.out.find("'002')\r\nSQLSTATE 42601: "));
  EXPECT_TRUE(run.out.ends_with("\n\n0" + kCount + "in.txt \n")) << run.out;
  EXPECT_EQ("", RowsOf("Mssql"));
}

TEST_F(ToolTest, UnreachableServerFailsEveryBookingWithItsReason) {
  dir_.Write("DHWEB05S.TXT", SettingsFile("KFX_TDS", "MSSQL"));
  dir_.Write("in.txt", Booking("1", "150306", "073015", "03", '1') +
                           Booking("2", "150306", "073015", "03", '1'));
  ToolRun run = RunTool(dir_.path(), {"S", "Tds", "in.txt"});
  EXPECT_EQ(2, run.exit_code) << run.out << run.err;
  // Each booking tries to open the connection anew.
  EXPECT_EQ(2u, Occurrences(run.out, "\r\nSQLSTATE 08S01: ")) << run.out;
  EXPECT_TRUE(run.out.ends_with("0" + kCount + "in.txt \n"));
}

TEST_F(ToolTest, UnknownDataSourceIsNamedInTheReport) {
  dir_.Write("DHWEB05S.TXT", SettingsFile("NO_SUCH_DSN", "ORACLE"));
  dir_.Write("in.txt", Booking("1", "150306", "073015", "03", '1'));
  ToolRun run = RunTool(dir_.path(), {"S", "Nodsn", "in.txt"});
  EXPECT_EQ(2, run.exit_code);
  EXPECT_NE(std::string::npos, run.out.find("\r\nSQLSTATE IM002: ")) << run.out;
}

TEST_F(ToolTest, RefusedAndParameterisedRecordsAreReportedNotSent) {
  dir_.Write("DHWEB05S.TXT", SettingsFile("KFX_PG", "ORACLE"));
  dir_.Write("in.txt", Booking("quote", "150306", "073015", "0'", '1') +
                           Booking("colon", "150306", "073015", ":x", '1') +
                           Booking("ok", "150306", "073015", "03", '1'));
  ToolRun run = RunTool(dir_.path(), {"S", "Refused", "in.txt"});
  EXPECT_EQ(2, run.exit_code) << run.out << run.err;
  EXPECT_NE(std::string::npos,
            run.out.find("'001')\r\nSatz nicht gesendet: Sonderzeichen"));
  EXPECT_NE(std::string::npos, run.out.find("'002')\r\nParameter 'x' ohne"));
  EXPECT_TRUE(run.out.ends_with("1" + kCount + "in.txt \n"));
  EXPECT_EQ("ok|2006-03-15 00:00:00|07:30:15|3|100|003\n", RowsOf("Refused"));
}

TEST_F(ToolTest, ZeroByteDoesNotCutTheFile) {
  dir_.Write("DHWEB05S.TXT", SettingsFile("KFX_PG", "ORACLE"));
  std::string input = Booking("1", "150306", "073015", "03", '1');
  input[5] = '\0';  // in the badge's padding, which is trimmed off
  input += Booking("2", "150306", "073015", "03", '1');
  dir_.Write("in.txt", input);
  ToolRun run = RunTool(dir_.path(), {"S", "Zero", "in.txt"});
  EXPECT_EQ(0, run.exit_code) << run.out << run.err;
  EXPECT_EQ("2" + kCount + "in.txt \n", run.out);
  EXPECT_EQ(
      "1|2006-03-15 00:00:00|07:30:15|3|100|001\n"
      "2|2006-03-15 00:00:00|07:30:15|3|100|002\n",
      RowsOf("Zero"));
}

TEST_F(ToolTest, ArgumentAndSettingsErrors) {
  dir_.Write("DHWEB05S.TXT", SettingsFile("KFX_PG", "ORACLE"));
  ToolRun run = RunTool(dir_.path(), {"S", "T"});
  EXPECT_EQ(1, run.exit_code);
  EXPECT_EQ(kBanner + "Falsche Anzahl Parameter\n\n" + kUsage, run.out);

  WorkDir empty;
  run = RunTool(empty.path(), {});
  EXPECT_EQ(5, run.exit_code);
  const std::string settings_error =
      kBanner +
      "Fehler beim Ermitteln der DB-Infos\n"
      "Quelle: '..\\..\\FILES\\KARVELION.INI'\n\n" +
      kUsage;
  EXPECT_EQ(settings_error, run.out);

  empty.Write("DHWEB05S.TXT", SettingsFile("KFX_PG", ""));
  run = RunTool(empty.path(), {"S", "T", "in.txt"});
  EXPECT_EQ(5, run.exit_code);
  EXPECT_EQ(settings_error, run.out);
}

TEST_F(ToolTest, SettingsAreFoundBesideAnInputInAnotherFolder) {
  WorkDir data;
  data.Write("DHWEB05S.TXT", SettingsFile("KFX_PG", "ORACLE"));
  data.Write("in.txt", Booking("far", "150306", "073015", "03", '1'));
  const std::string input = (data.path() / "in.txt").string();
  ToolRun run = RunTool(dir_.path(), {"S", "Far", input});
  EXPECT_EQ(0, run.exit_code) << run.out;
  EXPECT_EQ("1" + kCount + input + " \n", run.out);
}

TEST_F(ToolTest, NothingToWriteIsStillASuccess) {
  dir_.Write("DHWEB05S.TXT", SettingsFile("KFX_PG", "ORACLE"));
  dir_.Write("short.txt", std::string(28, '1'));
  ToolRun run = RunTool(dir_.path(), {"S", "Short", "short.txt"});
  EXPECT_EQ(0, run.exit_code);
  EXPECT_EQ("0" + kCount + "short.txt \n", run.out);

  run = RunTool(dir_.path(), {"S", "Missing", "missing.txt"});
  EXPECT_EQ(0, run.exit_code);
  EXPECT_EQ("0" + kCount + "missing.txt \n", run.out);
  EXPECT_NE(std::string::npos, run.err.find("missing.txt"));
}

TEST_F(ToolTest, UnknownDatabaseSystemWritesNothingAndSaysSo) {
  dir_.Write("DHWEB05S.TXT", SettingsFile("KFX_PG", "oracle"));
  dir_.Write("in.txt", Booking("1", "150306", "073015", "03", '1') +
                           Booking("2", "150306", "073015", "03", '1'));
  ToolRun run = RunTool(dir_.path(), {"S", "Lower", "in.txt"});
  EXPECT_EQ(2, run.exit_code);
  EXPECT_EQ("0" + kCount + "in.txt \n", run.out);
  EXPECT_EQ(1u, Occurrences(run.err, "DB_SYSTEM 'oracle'")) << run.err;
  EXPECT_EQ("", RowsOf("Lower"));
}

TEST_F(ToolTest, LostConnectionIsOpenedAnewForTheNextBooking) {
  constexpr int kBookings = 4000;
  dir_.Write("DHWEB05S.TXT", SettingsFile("KFX_PG", "ORACLE"));
  std::string input;
  for (int i = 1; i <= kBookings; ++i) {
    char badge[16];
    std::snprintf(badge, sizeof badge, "B%05d", i);
    input += Booking(badge, "150306", "073015", "03", '1');
  }
  dir_.Write("in.txt", input);

  ToolRun run;
  std::thread tool([&] {
    run = RunTool(dir_.path(), {"S", "Lost", "in.txt"});
  });
  // Once the run is under way, the server ends the tool's session.
  bool terminated = false;
  for (int attempt = 0; attempt < 2000 && !terminated; ++attempt) {
    if (CountOf("Lost") >= 100) {
      terminated =
          Sql("select count(pg_terminate_backend(pid)) from "
              "pg_stat_activity where usename = 'vrk' and "
              "backend_type = 'client backend' and query like 'INSERT%' and "
              "pid <> pg_backend_pid()") == "1\n";
    } else {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }
  tool.join();
  ASSERT_TRUE(terminated) << "the run ended before its session could be ended";

  const int rows = CountOf("Lost");
  const size_t reported = Occurrences(run.out, "Exception bei Datenbank Open");
  // At most the booking in flight is lost to the table, and it is reported.
  EXPECT_LE(reported, 1u) << run.out;
  EXPECT_EQ(kBookings, rows + static_cast<int>(reported)) << run.out;
  EXPECT_EQ(reported == 0 ? 0 : 2, run.exit_code);
  EXPECT_TRUE(run.out.ends_with(std::to_string(rows) + kCount + "in.txt \n"));
  EXPECT_EQ("1\n", Sql("select count(*) from vorkalin.vrk402zpk where "
                       "zpktrm = 'Lost' and zpkasw = 'B04000'"));
  // The booking lost, if any, is kept for sending again.
  const std::string rejects = FileContent(dir_.path() / "in.txt.bad");
  ASSERT_EQ(reported * 29, rejects.size());
  if (reported == 1) {
    EXPECT_EQ("0\n", Sql("select count(*) from vorkalin.vrk402zpk where "
                         "zpktrm = 'Lost' and zpkasw = '" +
                         rejects.substr(0, 6) + "'"));
  }
}

TEST_F(ToolTest, OutputThatNobodyReadsDoesNotStopTheTransfer) {
  dir_.Write("DHWEB05S.TXT", SettingsFile("KFX_PG", "ORACLE"));
  std::string input;
  for (int i = 0; i < 300; ++i) {
    input += Booking("P" + std::to_string(i), "150306", "073015", "03", '1');
  }
  dir_.Write("in.txt", input);
  const struct {
    const char* terminal;
    const char* output;
  } kCases[] = {
      {"Pipe", " | head -c 1 >/dev/null; exit ${PIPESTATUS[0]}"},
      {"Closed", " >&-"},
  };
  for (const auto& c : kCases) {
    const std::string command =
        ToolCommand(dir_.path(), {"S", c.terminal, "in.txt", "/D"}) + c.output;
    const int status = std::system(("bash -c " + ShellQuoted(command)).c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << c.terminal;
    EXPECT_EQ(300, CountOf(c.terminal)) << c.terminal;
  }
}

TEST_F(ToolTest, BookingsNotWrittenGoToTheRejectFileAndCanBeSentAgain) {
  dir_.Write("DHWEB05S.TXT", SettingsFile("KFX_PG", "ORACLE"));
  const std::string refused = Booking("refused", "150306", "073015", "0'", '1');
  const std::string bad_date = Booking("date", "311306", "073015", "03", '1');
  const std::string written = Booking("ok", "150306", "073015", "03", '1');
  const std::string no_booking =
      Booking("blank", "311306", "073015", "03", ' ');
  dir_.Write("in.txt", refused + written + bad_date + no_booking + "xy");
  dir_.Write("in.txt.bad", "from an earlier run");
  ToolRun run = RunTool(dir_.path(), {"S", "Reject", "in.txt"});
  EXPECT_EQ(2, run.exit_code) << run.out << run.err;
  EXPECT_EQ(refused + bad_date, FileContent(dir_.path() / "in.txt.bad"));
  EXPECT_NE(std::string::npos,
            run.err.find("Warnung: 2 Buchungen nicht geschrieben, gesichert "
                         "in 'in.txt.bad'\n"))
      << run.err;

  // Sent again, the rejects fail the same way and nothing else is sent.
  run = RunTool(dir_.path(), {"S", "Reject", "in.txt.bad"});
  EXPECT_EQ(2, run.exit_code);
  EXPECT_TRUE(run.out.ends_with("0" + kCount + "in.txt.bad \n"));
  EXPECT_EQ(refused + bad_date, FileContent(dir_.path() / "in.txt.bad.bad"));
  EXPECT_EQ(1, CountOf("Reject"));

  // Every booking of an unknown dialect is kept.
  dir_.Write("DHWEB05S.TXT", SettingsFile("KFX_PG", "DB2"));
  run = RunTool(dir_.path(), {"S", "Reject", "in.txt"});
  EXPECT_EQ(refused + written + bad_date,
            FileContent(dir_.path() / "in.txt.bad"));
}

TEST_F(ToolTest, RunWithoutRejectsWritesNoRejectFile) {
  dir_.Write("DHWEB05S.TXT", SettingsFile("KFX_PG", "ORACLE"));
  dir_.Write("in.txt", Booking("ok", "150306", "073015", "03", '1'));
  ToolRun run = RunTool(dir_.path(), {"S", "NoReject", "in.txt"});
  EXPECT_EQ(0, run.exit_code) << run.out << run.err;
  EXPECT_EQ("", run.err);
  EXPECT_FALSE(std::filesystem::exists(dir_.path() / "in.txt.bad"));
}

TEST_F(ToolTest, RejectFileThatCannotBeWrittenChangesNothingElse) {
  dir_.Write("DHWEB05S.TXT", SettingsFile("KFX_PG", "ORACLE"));
  dir_.Write("in.txt", Booking("date", "311306", "073015", "03", '1') +
                           Booking("ok", "150306", "073015", "03", '1'));
  std::filesystem::create_directory(dir_.path() / "in.txt.bad");
  ToolRun run = RunTool(dir_.path(), {"S", "NoBad", "in.txt"});
  EXPECT_EQ(2, run.exit_code);
  EXPECT_TRUE(run.out.ends_with("\n\n1" + kCount + "in.txt \n")) << run.out;
  EXPECT_EQ("Warnung: Fehlerdatei 'in.txt.bad' kann nicht geschrieben werden\n",
            run.err);
  EXPECT_EQ(1, CountOf("NoBad"));
}

}  // namespace
