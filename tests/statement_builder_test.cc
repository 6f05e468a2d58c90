#include "bookings/statement_builder.h"

#include <gtest/gtest.h>

#include <string>

#include "run_state.h"

namespace {

// Badge 12345, 15.03.06 07:30:15, reader 03, code `code`.
std::string Record(char code, std::string badge = "12345") {
  badge.resize(13, ' ');
  return badge + "150306" + "073015" + "0" + "03" + code;
}

class StatementBuilderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DebugMode = false;
    TerminalName = "ZutCtrl";
    DbSystem = "ORACLE";
    SequenceNumber = 0;
  }

  std::string Build(const std::string& record) {
    std::string statement = "left over";
    BuildStatement(record, &statement);
    return statement;
  }
};

TEST_F(StatementBuilderTest, OracleStatementOfTheTypicalBooking) {
  EXPECT_EQ(
      "INSERT INTO VORKALIN.Vrk402Zpk (ZpkTrm, ZpkAsw, ZpkDtm, ZpkUhr, "
      "ZpkLes, ZpkZus, ZpkLfd) VALUES('ZutCtrl', '12345', "
      "to_date('150306','ddmmyy'), to_date('073015','hh24miss'), 03, 100, "
      "'001')",
      Build(Record('1')));
}

TEST_F(StatementBuilderTest, SqlServerStatementOfTheTypicalBooking) {
  DbSystem = "MSSQL";
  EXPECT_EQ(
      "INSERT INTO VORKALIN.VRK402ZPK(ZpkTrm, ZpkLes, ZpkDtm, ZpkUhr, ZpkAsw, "
      "ZpkZus,  ZpkFcd, ZpkMld, ZpkDat, ZpkLfd) VALUES('ZutCtrl', 03, "
      "CONVERT(DATETIME, CONVERT(varchar(10), CONVERT(datetime, '15.03.06', "
      "4), 120), 120), CONVERT(DATETIME, CONVERT(varchar(10), "
      "CONVERT(datetime, '01.03.06', 4), 120) + ' 07:30:15', 120), '12345', "
      "100, NULL, NULL, GETDATE(), '001')",
      Build(Record('1')));
}

TEST_F(StatementBuilderTest, TranslatesBookingCodes) {
  const struct {
    char code;
    const char* written;
  } kCases[] = {
      {'1', "100"}, {'G', "200"}, {'Z', "200"}, {'U', "200"}, {'B', "200"},
      {'S', "200"}, {'A', "201"}, {'a', "a"},   {'2', "2"},   {'g', "g"},
  };
  for (const auto& c : kCases) {
    SequenceNumber = 0;
    const std::string expected = std::string(", 03, ") + c.written + ", '001')";
    EXPECT_TRUE(Build(Record(c.code)).ends_with(expected)) << c.code;
  }
}

TEST_F(StatementBuilderTest, RunningNumberWrapsAfter999) {
  SequenceNumber = 998;
  EXPECT_TRUE(Build(Record('1')).ends_with("'999')"));
  EXPECT_TRUE(Build(Record('1')).ends_with("'001')"));
  EXPECT_TRUE(Build(Record('1')).ends_with("'002')"));
}

TEST_F(StatementBuilderTest, BlankCodeYieldsNothingAndKeepsTheNumber) {
  Build(Record('1'));
  EXPECT_EQ("", Build(Record(' ')));
  EXPECT_EQ(1, SequenceNumber);
  EXPECT_TRUE(Build(Record('1')).ends_with("'002')"));
}

TEST_F(StatementBuilderTest, UnknownDatabaseSystemYieldsNothingButCounts) {
  for (const char* system : {"oracle", "", "DB2", "ORACLE "}) {
    DbSystem = system;
    SequenceNumber = 0;
    EXPECT_EQ("", Build(Record('1'))) << system;
    EXPECT_EQ(1, SequenceNumber) << system;
  }
}

TEST_F(StatementBuilderTest, BadgeLosesTrailingBlanksAndControls) {
  EXPECT_NE(std::string::npos,
            Build(Record('1', std::string(13, ' '))).find("'ZutCtrl', '', "));
  EXPECT_NE(std::string::npos,
            Build(Record('1', "A B\t\r\n")).find("'ZutCtrl', 'A B', "));
}

TEST_F(StatementBuilderTest, QuotesInQuotedValuesAreDoubled) {
  TerminalName = "T'1";
  std::string statement = Build(Record('1', "O'Brien"));
  EXPECT_NE(std::string::npos, statement.find("VALUES('T''1', 'O''Brien', "));

  DbSystem = "MSSQL";
  std::string record = Record('1');
  record.replace(13, 12, "1'0306'73015");  // quotes in date and time
  statement = Build(record);
  EXPECT_NE(std::string::npos, statement.find("'1''.03.06'")) << statement;
  EXPECT_NE(std::string::npos, statement.find("'01.03.06'")) << statement;
  EXPECT_NE(std::string::npos, statement.find("' ''7:30:15'")) << statement;
}

TEST_F(StatementBuilderTest, RefusesSqlOpenersInUnquotedFields) {
  // "--" among them: it comments out up to a line break, which a later
  // literal may hold, and the rest of that literal was read as SQL (found by
  // fuzzing).
  const struct {
    const char* les_and_zus;
    bool refused;
  } kCases[] = {
      {"031", false}, {"12A", false}, {" 1 ", false}, {"-1x", false},
      {"0\'1", true}, {"03\'", true}, {"/*1", true},  {"0*1", true},
      {"\"x1", true}, {"[x1", true},  {"`x1", true},  {"--1", true},
      {"-1-", false},
  };
  for (const auto& c : kCases) {
    std::string record = Record('1');
    record.replace(26, 3, c.les_and_zus);
    EXPECT_EQ(c.refused, RefusalReason(record) != nullptr) << c.les_and_zus;
  }
  EXPECT_EQ(nullptr, RefusalReason(Record('1', "O'Brien /*[\"")));
}

TEST_F(StatementBuilderTest, DebugModeEchoesEveryRecord) {
  DebugMode = true;
  ::testing::internal::CaptureStdout();
  Build(Record(' '));
  std::fflush(stdout);
  EXPECT_EQ("  Satz   = '" + Record(' ') + "'\n",
            ::testing::internal::GetCapturedStdout());
}

}  // namespace
