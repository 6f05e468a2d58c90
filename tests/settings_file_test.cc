#include "config/settings_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace {

using namespace std::string_literals;

// All four fields at once, so a failure shows the whole entry.
using Fields = std::tuple<Text, int32_t, Text, Text>;

Fields FieldsOf(const SettingsEntry& entry) {
  return {entry.section, entry.number, entry.key, entry.value};
}

const Fields kEmpty{"", 0, "", ""};

// A number no test file produces, so that only the section or key can match.
constexpr int32_t kNoNumber = -999;

const std::string kFourLines = "a;X;b\n1;LOGIN;u1\na;Y;b\n2;PASS;p1\n";

class SettingsFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = std::filesystem::temp_directory_path() /
           ("settings_file_test_"s + info->name() + "_" +
            std::to_string(std::random_device()()));
    std::filesystem::create_directories(dir_);
    path_ = (dir_ / "DHWEB05S.TXT").string();
  }

  void TearDown() override { std::filesystem::remove_all(dir_); }

  void Write(const std::string& bytes) {
    std::ofstream out(path_, std::ios::binary | std::ios::trunc);
    out << bytes;
  }

  // The lookup connection setup makes: empty section, number 0.
  Fields LookUpKey(std::string_view key) {
    ReadSettingsEntry("", key, 0, path_);
    return FieldsOf(CurrentEntry);
  }

  Fields LookUp(std::string_view section, std::string_view key,
                int32_t number) {
    ReadSettingsEntry(section, key, number, path_);
    return FieldsOf(CurrentEntry);
  }

  // The pair of the first two lines: `entry_line` behind a section line of
  // section "S", found through that section.
  Fields FirstPair(const std::string& entry_line) {
    Write("s;S;x\n" + entry_line);
    return LookUp("S", "\x01", kNoNumber);
  }

  std::filesystem::path dir_;
  std::string path_;
};

TEST(FindNthCharTest, Cases) {
  struct Case {
    std::string line;
    char ch;
    int n;
    int expected;
  };
  const std::vector<Case> cases = {
      {"a;b;c", ';', 1, 1}, {"a;b;c", ';', 2, 3},
      {"a;b;c", ';', 3, 3},  // fewer than n: the last one found
      {"abc", ';', 1, -1},  {"", ';', 1, -1},
      {";;", ';', 2, 1},    {"a;b", ';', 0, -1},
      {"a\0;"s, ';', 1, 2},  // a zero byte does not end the line
      {"ab\n", '\n', 1, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.line) +
                 " n=" + std::to_string(c.n));
    EXPECT_EQ(FindNthChar(c.line, c.ch, c.n), c.expected);
  }
}

TEST(CopyPartTest, Cases) {
  struct Case {
    int start;
    int length;
    Text expected;
  };
  const std::string line = "ab;cd\n";
  // One case a line reads best; clang-format would pack them into columns.
  // clang-format off
  const std::vector<Case> cases = {
      {0, 2, "ab"},
      {3, 2, "cd"},
      {3, 0, "cd\n"},  // 0: to the end, line break included
      {0, 0, "ab;cd\n"},
      {4, 10, "d\n"},  // clipped at the end
      {0, -1, ""},
      {2, -5, ""},
      {-1, 2, ""},
      {7, 1, ""},
      {6, 0, ""},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE("start=" + std::to_string(c.start) +
                 " length=" + std::to_string(c.length));
    EXPECT_EQ(CopyPart(line, c.start, c.length), c.expected);
  }
  EXPECT_EQ(CopyPart("a\0b\n"s, 0, 0), "a\0b\n"s);
}

TEST_F(SettingsFileTest, FindsEachKeyOfThePairs) {
  Write(kFourLines);
  // PASS first: a lookup that went on from where the last one stopped would
  // then miss LOGIN.
  EXPECT_EQ(LookUpKey("PASS"), Fields("Y", 2, "PASS", "p1"));
  EXPECT_EQ(LookUpKey("LOGIN"), Fields("X", 1, "LOGIN", "u1"));
  EXPECT_EQ(LookUpKey("DATABASE"), kEmpty);
  EXPECT_EQ(LookUpKey("login"), kEmpty);
}

TEST_F(SettingsFileTest, SectionOrNumberAloneSelectAPair) {
  Write(kFourLines);
  EXPECT_EQ(LookUp("Y", "none", kNoNumber), Fields("Y", 2, "PASS", "p1"));
  EXPECT_EQ(LookUp("none", "none", 1), Fields("X", 1, "LOGIN", "u1"));
  EXPECT_EQ(LookUp("none", "none", kNoNumber), kEmpty);
}

TEST_F(SettingsFileTest, RereadsTheFileOnEveryLookup) {
  Write(kFourLines);
  EXPECT_EQ(std::get<3>(LookUpKey("LOGIN")), "u1");
  Write("a;X;b\n1;LOGIN;u2\n");
  EXPECT_EQ(std::get<3>(LookUpKey("LOGIN")), "u2");
}

TEST_F(SettingsFileTest, SectionField) {
  const std::vector<std::pair<std::string, Text>> cases = {
      {"a;X;b\n", "X"},   {"a;X;\n", "X"},
      {";;x\n", ";x\n"},  // empty field: the rest of the line
      {"a;X\n", ""},      {"abc\n", ""},
      {"a;X;b;c\n", "X"},
  };
  for (const auto& [section_line, expected] : cases) {
    SCOPED_TRACE(::testing::PrintToString(section_line));
    Write(section_line + "1;K;v\n");
    EXPECT_EQ(LookUp("\x01", "K", kNoNumber), Fields(expected, 1, "K", "v"));
  }
}

TEST_F(SettingsFileTest, EntryLineFields) {
  const std::vector<std::pair<std::string, Fields>> cases = {
      {"1;LOGIN;u1\n", {"S", 1, "LOGIN", "u1"}},
      {"3;DATABASE;\n", {"S", 3, "DATABASE", "\n"}},
      {"4;PASS;a;b;\n", {"S", 4, "PASS", "a;b;"}},
      {"5;LOGIN\n", {"S", 5, "", "LOGIN"}},
      {"6;\n", {"S", 6, "", "\n"}},
      {"no separator\n", {"S", 0, "", "no separator\n"}},
      {";KEY;v\n", {"S", 0, "KEY", "v"}},
      {"8;;v\n", {"S", 8, ";v\n", "v"}},
      {"9;KEY;v", {"S", 9, "KEY", ""}},  // last line, no line break
      {"10;KEY;p w\0d\n"s, {"S", 10, "KEY", "p w\0d"s}},
  };
  for (const auto& [entry_line, expected] : cases) {
    SCOPED_TRACE(::testing::PrintToString(entry_line));
    EXPECT_EQ(FirstPair(entry_line), expected);
  }
}

TEST_F(SettingsFileTest, NumberReadLikeAtol) {
  const std::vector<std::pair<std::string, int32_t>> cases = {
      {"42", 42},
      {" \t+12", 12},
      {"-12", -12},
      {"12ab", 12},
      {"ab12", 0},
      {"-", 0},
      {"2147483647", 2147483647},
      {"2147483648", INT32_MIN},  // wraps in 32 bits
      {"4294967296", 0},
      {"-4294967297", -1},
      {"12345678901234", -539222987},  // only 12345678901 is read
      {"          7", 7},              // 11 characters
      {"           7", 0},             // the 7 is the 12th
  };
  for (const auto& [number_text, expected] : cases) {
    SCOPED_TRACE(number_text);
    EXPECT_EQ(std::get<1>(FirstPair(number_text + ";K;v\n")), expected);
  }
}

// Pairs that carry an empty section or the number 0 match the lookup
// connection setup makes whatever key it asks for, and hide all behind them.
TEST_F(SettingsFileTest, CatchAllPairsStopEveryLookup) {
  const std::vector<std::pair<std::string, Fields>> cases = {
      {"a;X;b\n0;PASS;p1\n", {"X", 0, "PASS", "p1"}},
      {"abc\n1;PASS;p1\n", {"", 1, "PASS", "p1"}},
      {"a;X;b\nplain\n", {"X", 0, "", "plain\n"}},
  };
  for (const auto& [first_pair, expected] : cases) {
    SCOPED_TRACE(::testing::PrintToString(first_pair));
    Write(first_pair + "a;X;b\n1;LOGIN;u1\n");
    EXPECT_EQ(LookUpKey("LOGIN"), expected);
    EXPECT_EQ(LookUpKey("DATABASE"), expected);
  }
}

TEST_F(SettingsFileTest, UnpairedLastLineIsNeverUsed) {
  // Read as a section line, "abc" would match any key.
  Write("a;X;b\n1;LOGIN;u1\nabc\n");
  EXPECT_EQ(LookUpKey("PASS"), kEmpty);
  Write("abc");
  EXPECT_EQ(LookUpKey("PASS"), kEmpty);
  Write("");
  EXPECT_EQ(LookUpKey("PASS"), kEmpty);
}

TEST_F(SettingsFileTest, CarriageReturnsAreDropped) {
  Write("a;X;b\r\n1;LOGIN;u1\r\na;Y;b\r\n2;PASS;p\r1\r\r\n");
  EXPECT_EQ(LookUpKey("LOGIN"), Fields("X", 1, "LOGIN", "u1"));
  EXPECT_EQ(LookUpKey("PASS"), Fields("Y", 2, "PASS", "p1"));
}

TEST_F(SettingsFileTest, CtrlZEndsTheFile) {
  Write(
      "a;X;b\n1;LOGIN;u1\n\x1a"
      "a;Y;b\n2;PASS;p1\n");
  EXPECT_EQ(LookUpKey("LOGIN"), Fields("X", 1, "LOGIN", "u1"));
  EXPECT_EQ(LookUpKey("PASS"), kEmpty);
  // Cut inside a line, the value loses its line break and so reads empty.
  Write(
      "a;X;b\n1;LOGIN;u1\x1a"
      "rest\n");
  EXPECT_EQ(LookUpKey("LOGIN"), Fields("X", 1, "LOGIN", ""));
}

TEST_F(SettingsFileTest, SectionLineReadsAtMost199Characters) {
  // 199 characters and the line break: the break is read as the entry line,
  // so every later line moves one place in its pair.
  const std::string long_line = "s;A;" + std::string(195, 'x') + "\n";
  Write(long_line + "t;B;y\n1;LOGIN;u1\n");
  EXPECT_EQ(LookUp("", "LOGIN", kNoNumber), Fields("B", 1, "LOGIN", "u1"));
  EXPECT_EQ(LookUp("A", "", kNoNumber), Fields("A", 0, "", "\n"));

  // One character less fits a single read; LOGIN is then the unpaired line.
  const std::string fitting_line = "s;A;" + std::string(194, 'x') + "\n";
  Write(fitting_line + "t;B;y\n1;LOGIN;u1\n");
  EXPECT_EQ(LookUp("", "LOGIN", kNoNumber), kEmpty);
}

TEST_F(SettingsFileTest, EntryLineReadsAtMost399Characters) {
  // 399 characters with the line break: one read. Values are kept whole,
  // however long.
  const std::string value(391, 'v');
  Write("s;S;x\n1;PASS;" + value + "\n");
  EXPECT_EQ(LookUpKey("PASS"), Fields("S", 1, "PASS", value));

  // One more character and the read stops short of the line break: the
  // value is empty and the break starts the next pair as its section line.
  Write("s;S;x\n1;PASS;" + value + "v\n2;LOGIN;u1\n");
  EXPECT_EQ(LookUp("", "PASS", kNoNumber), Fields("S", 1, "PASS", ""));
  EXPECT_EQ(LookUp("", "LOGIN", kNoNumber), Fields("", 2, "LOGIN", "u1"));
}

TEST_F(SettingsFileTest, UnreadablePathLeavesEmptyEntryAndPrintsNothing) {
  Write(kFourLines);
  ASSERT_EQ(std::get<3>(LookUpKey("LOGIN")), "u1");
  const std::vector<std::string> paths = {(dir_ / "missing.txt").string(),
                                          dir_.string()};
  for (const std::string& path : paths) {
    SCOPED_TRACE(path);
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    ReadSettingsEntry("", "LOGIN", 0, path);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(FieldsOf(CurrentEntry), kEmpty);
  }
}

}  // namespace
