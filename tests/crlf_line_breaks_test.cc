#include "run/crlf_line_breaks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(CrLfLineBreaksTest, LineFeedsBecomeCrLfOnce) {
  const struct {
    std::vector<std::string> pieces;
    std::string out;
    const char* why;
  } kCases[] = {
      {{"a\n"}, "a\r\n", "a line"},
      {{"\n\n"}, "\r\n\r\n", "empty lines"},
      {{"INSERT x\r\n"}, "INSERT x\r\n", "CR LF already there"},
      {{"a\r\r\n"}, "a\r\r\n", "only the last CR pairs"},
      {{"a\rb"}, "a\rb", "a lone CR"},
      {{"a\r", "\n"}, "a\r\n", "CR LF across two pieces"},
      {{"a\r", "b\n"}, "a\rb\r\n", "a CR that ends a piece without LF"},
      {{"Exception bei Datenbank Open\n", "INSERT x\r\n", "SQLSTATE 42601\n",
        "\n\n"},
       "Exception bei Datenbank Open\r\nINSERT x\r\nSQLSTATE 42601\r\n\r\n\r\n",
       "the error block"},
      {{std::string("\xDC\0\n", 3)},
       std::string("\xDC\0\r\n", 4),
       "other bytes unchanged"},
  };
  for (const auto& c : kCases) {
    CrLfLineBreaks line_breaks;
    std::string out;
    for (const std::string& piece : c.pieces)
      out += line_breaks.Convert(piece);
    EXPECT_EQ(c.out, out) << c.why;
  }
}

}  // namespace
