#include "run/platform.h"

#include <gtest/gtest.h>

#include <clocale>

namespace {

TEST(PlatformTest, ArgumentsBecomeWindows1252) {
  const struct {
    const char* arg;
    const char* text;
  } kCases[] = {
      {"ZutCtrl", "ZutCtrl"},
      {"T\xC3\xBCr", "T\xFCr"},            // UTF-8 u umlaut
      {"\xE2\x82\xAC", "\x80"},            // euro sign
      {"\xE4\xB8\xAD", "?"},               // outside the code page
      {"T\xFCr", "T\xFCr"},                // not UTF-8: taken as it is
      {"\xE0\x80\x80X", "\xE0\x80\x80X"},  // overlong zero byte
      {"\xED\xA0\x80", "\xED\xA0\x80"},    // surrogate
      {"\xC3", "\xC3"},                    // cut short
  };
  for (const char* locale : {"C.UTF-8", "C"}) {
    ASSERT_NE(nullptr, std::setlocale(LC_CTYPE, locale));
    for (const auto& c : kCases) {
      char* argv[] = {const_cast<char*>("tool"), const_cast<char*>(c.arg)};
      EXPECT_EQ(c.text, ArgumentText(2, argv, 1)) << locale << " " << c.arg;
      EXPECT_EQ("", ArgumentText(2, argv, 2));
    }
  }
  std::setlocale(LC_CTYPE, "C");
}

}  // namespace
