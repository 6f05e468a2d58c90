#include "db/param_scanner.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>

namespace {

TEST(ParamScannerTest, FindsParametersOnlyOutsideLiterals) {
  const struct {
    const char* sql;
    const char* parameter;  // nullptr: none
    const char* sent;
  } kCases[] = {
      {"VALUES('07:30:15')", nullptr, "VALUES('07:30:15')"},
      {"VALUES(\":a\", `:b`)", nullptr, "VALUES(\":a\", `:b`)"},
      {"VALUES('it''s :x')", nullptr, "VALUES('it''s :x')"},
      {"VALUES('\"', :p1, 2)", "p1", "VALUES('\"', :p1, 2)"},
      {"x::int", nullptr, "x:int"},
      {"'a'::text", nullptr, "'a':text"},
      {"a :b)c", "b", "a :b)c"},
      {"a :name;rest", "name", "a :name;rest"},
      {"a :x\r\n:y", "x", "a :x\r\n:y"},
      {"03:, 100", "", "03:, 100"},
      {"end:", "", "end:"},
      {":::", "", "::"},
  };
  for (const auto& c : kCases) {
    Text sent;
    std::optional<Text> parameter = ScanParameters(c.sql, &sent);
    if (c.parameter == nullptr) {
      EXPECT_FALSE(parameter.has_value()) << c.sql;
    } else {
      ASSERT_TRUE(parameter.has_value()) << c.sql;
      EXPECT_EQ(c.parameter, *parameter) << c.sql;
    }
    EXPECT_EQ(c.sent, sent) << c.sql;
  }
}

// The shortcut may only answer true where the full scan finds nothing to
// change; over texts of quotes and colons only, it must also see every
// such case, or statements would be scanned needlessly.
TEST(ParamScannerTest, ShortcutAgreesWithTheFullScan) {
  std::mt19937 random(2006);
  for (int round = 0; round < 20000; ++round) {
    const bool other_quotes = round % 4 == 0;
    const std::string_view alphabet = other_quotes ? "':a \"`" : "':a ";
    std::string sql(random() % 40, ' ');
    for (char& c : sql)
      c = alphabet[random() % alphabet.size()];
    Text sent;
    const bool nothing_to_change =
        !ScanParameters(sql, &sent).has_value() && sent == sql;
    if (ColonsOnlyInLiterals(sql)) {
      EXPECT_TRUE(nothing_to_change) << sql;
    } else if (!other_quotes) {
      EXPECT_FALSE(nothing_to_change) << sql;
    }
  }
}

TEST(ParamScannerTest, ShortcutTakesStatementsWithQuotedColons) {
  EXPECT_TRUE(ColonsOnlyInLiterals(
      "INSERT INTO T VALUES('ZutCtrl', 03, CONVERT(datetime, '01.03.06', 4) "
      "+ ' 07:30:15', 'it''s', '001')"));
  EXPECT_FALSE(ColonsOnlyInLiterals("VALUES('x', 03:, 100)"));
  EXPECT_FALSE(ColonsOnlyInLiterals("VALUES('\"', '07:30')"));
}

}  // namespace
