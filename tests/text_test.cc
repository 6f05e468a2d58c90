#include "text.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "cp1252.h"
#include "db/strings_list.h"
#include "run/banner.h"

namespace {

TEST(TextTest, TrimRightRemovesCodesBelow33) {
  EXPECT_EQ("ab", TrimRight("ab \t\r\n\x01"));
  EXPECT_EQ("", TrimRight("   "));
  EXPECT_EQ(" a!", TrimRight(" a!"));
  EXPECT_EQ("\xDC", TrimRight("\xDC "));  // high bytes are not control
}

TEST(TextTest, ZeroPadding) {
  Text out;
  AppendZeroPadded(&out, 7, 3);
  AppendZeroPadded(&out, 999, 3);
  AppendZeroPadded(&out, 1234, 3);
  EXPECT_EQ("0079991234", out);
}

TEST(Cp1252Test, EveryByteSurvivesTheRoundTrip) {
  std::string all;
  for (int b = 0; b < 256; ++b)
    all.push_back(static_cast<char>(b));
  const std::u16string wide = cp1252::ToUtf16(all);
  EXPECT_EQ(u'\u20AC', wide[0x80]);  // euro sign
  EXPECT_EQ(u'\u0178', wide[0x9F]);
  EXPECT_EQ(u'\u00FC', wide[0xFC]);  // u umlaut, as in Latin-1
  EXPECT_EQ(all, cp1252::FromUtf16(wide));
}

TEST(Cp1252Test, CharactersOutsideTheCodePageBecomeQuestionMarks) {
  EXPECT_EQ("a?b?c", cp1252::FromUtf16(u"a\u4E2Db\U0001F600c"));
}

TEST(StringsListTest, TextEndsEveryLineWithCrLf) {
  TStrings lines;
  EXPECT_EQ("", lines.GetText());
  lines.Add("a");
  lines.Add("");
  EXPECT_EQ("a\r\n\r\n", lines.GetText());
}

TEST(StringsListTest, ClearedLinesAreGoneWhenTheirBuffersAreReused) {
  TStrings lines;
  lines.Add("a long first statement");
  lines.Add("second");
  lines.Clear();
  EXPECT_EQ(0, lines.Count());
  EXPECT_EQ("", lines.GetText());
  EXPECT_THROW(lines.Get(0), std::out_of_range);
  lines.Add("short");
  EXPECT_EQ(1, lines.Count());
  EXPECT_EQ("short\r\n", lines.GetText());
  EXPECT_THROW(lines.Put(1, "x"), std::out_of_range);
}

TEST(BannerTest, FramedLinesAreTheWidthOfTheFrame) {
  EXPECT_EQ("** Projekt     : KARVELION                          **\n",
            FramedLine("Projekt     : KARVELION"));
  ::testing::internal::CaptureStdout();
  PrintBanner();
  std::fflush(stdout);
  const std::string banner = ::testing::internal::GetCapturedStdout();
  EXPECT_NE(std::string::npos,
            banner.find("** Beschreibung:  \xDC"
                        "bernahme der Zutrittsbuchungen   **\n"
                        "**                aus der DHWEB71S in das Schema    "
                        "**\n**                VORKALIN Tabelle Vrk402Zpk    "
                        "    **\n"));
  size_t start = banner.find('*');
  int lines = 0;
  while (start < banner.size() && banner[start] == '*') {
    const size_t end = banner.find('\n', start);
    EXPECT_EQ(kBannerWidth, end - start) << banner.substr(start, end - start);
    start = end + 1;
    ++lines;
  }
  EXPECT_EQ(8, lines);
}

}  // namespace
