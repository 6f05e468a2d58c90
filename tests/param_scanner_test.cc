#include "db/param_scanner.h"

#include <gtest/gtest.h>

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

}  // namespace
