#include "run/reject_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

class RejectFileTest : public ::testing::Test {
 protected:
  RejectFileTest()
      : dir_(fs::temp_directory_path() /
             ("kfx_reject_" + std::to_string(::getpid()))) {
    fs::create_directories(dir_);
  }
  ~RejectFileTest() override { fs::remove_all(dir_); }

  std::string Content(const fs::path& path) const {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
  }

  fs::path dir_;
};

TEST_F(RejectFileTest, KeepsRecordsAsTheyCameAndReplacesAnOlderFile) {
  const fs::path path = dir_ / "in.txt.bad";
  std::ofstream(path) << "from an earlier run, longer than what follows";
  const std::string first("badge\0\r\n     150306073015003", 29);
  const std::string second(29, '\xFC');
  ::testing::internal::CaptureStderr();
  {
    RejectFile rejects(path.string(), "in.txt.bad");
    rejects.Add(first);
    rejects.Add(second);
    rejects.Flush();
    // On disk while the run goes on.
    EXPECT_EQ(first + second, Content(path));
  }
  EXPECT_EQ(
      "Warnung: 2 Buchungen nicht geschrieben, gesichert in 'in.txt.bad'\n",
      ::testing::internal::GetCapturedStderr());
  EXPECT_EQ(first + second, Content(path));
}

TEST_F(RejectFileTest, ManyRecordsWithoutFlushAllArrive) {
  const fs::path path = dir_ / "in.txt.bad";
  std::string expected;
  ::testing::internal::CaptureStderr();
  {
    RejectFile rejects(path.string(), "in.txt.bad");
    for (int i = 0; i < 10000; ++i) {
      std::string record(29, ' ');
      record.replace(0, 5, std::to_string(10000 + i));
      rejects.Add(record);
      expected += record;
    }
  }
  EXPECT_EQ(
      "Warnung: 10000 Buchungen nicht geschrieben, gesichert in "
      "'in.txt.bad'\n",
      ::testing::internal::GetCapturedStderr());
  EXPECT_EQ(expected, Content(path));
}

TEST_F(RejectFileTest, RunWithoutRejectsLeavesAnOlderFileAlone) {
  const fs::path path = dir_ / "in.txt.bad";
  std::ofstream(path) << "older";
  ::testing::internal::CaptureStderr();
  { RejectFile rejects(path.string(), "in.txt.bad"); }
  EXPECT_EQ("", ::testing::internal::GetCapturedStderr());
  EXPECT_EQ("older", Content(path));
  EXPECT_FALSE(fs::exists(dir_ / "never.bad"));
}

TEST_F(RejectFileTest, FileThatCannotBeWrittenIsWarnedAboutOnce) {
  fs::create_directories(dir_ / "folder.bad");
  const struct {
    std::string path;
    const char* why;
  } kCases[] = {
      {(dir_ / "folder.bad").string(), "a folder"},
      {(dir_ / "no" / "such" / "folder.bad").string(), "no such folder"},
      {"/dev/full", "no space left"},
  };
  for (const auto& c : kCases) {
    ::testing::internal::CaptureStderr();
    {
      RejectFile rejects(c.path, "x.bad");
      rejects.Add(std::string(29, '1'));
      rejects.Add(std::string(29, '2'));
    }
    EXPECT_EQ("Warnung: Fehlerdatei 'x.bad' kann nicht geschrieben werden\n",
              ::testing::internal::GetCapturedStderr())
        << c.why;
  }
}

TEST_F(RejectFileTest, RecordCutByAFullDiskIsTakenBackOut) {
  const fs::path path = dir_ / "in.txt.bad";
  // A file size limit in the middle of the fourth record: the write stops
  // there as on a full disk. (It holds for the captured standard error too,
  // whose one line stays below it.)
  rlimit old_limit;
  ::getrlimit(RLIMIT_FSIZE, &old_limit);
  rlimit limit = old_limit;
  limit.rlim_cur = 100;
  auto* old_handler = std::signal(SIGXFSZ, SIG_IGN);
  ::testing::internal::CaptureStderr();
  {
    RejectFile rejects(path.string(), "in.txt.bad");
    ::setrlimit(RLIMIT_FSIZE, &limit);
    // As the run does: each record is written before the next statement.
    for (char c : std::string("12345")) {
      rejects.Add(std::string(29, c));
      rejects.Flush();
    }
    ::setrlimit(RLIMIT_FSIZE, &old_limit);
  }
  std::signal(SIGXFSZ, old_handler);
  EXPECT_EQ(
      "Warnung: Fehlerdatei 'in.txt.bad' kann nicht geschrieben werden\n"
      "Warnung: 3 Buchungen nicht geschrieben, gesichert in 'in.txt.bad'\n",
      ::testing::internal::GetCapturedStderr());
  EXPECT_EQ(std::string(29, '1') + std::string(29, '2') + std::string(29, '3'),
            Content(path));
}

}  // namespace
