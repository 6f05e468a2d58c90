#include "bookings/input_loader.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "run_state.h"

namespace {

namespace fs = std::filesystem;

TEST(InputLoaderTest, LoadsEveryByteOrReportsMinusOne) {
  const fs::path dir =
      fs::temp_directory_path() / ("kfx_loader_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const std::string with_zero("ABC\0DEF\r\n\xFC", 10);
  std::ofstream(dir / "zero.txt", std::ios::binary) << with_zero;
  std::ofstream(dir / "empty.txt", std::ios::binary);

  const struct {
    const char* name;
    int result;
    std::string content;
  } kCases[] = {
      {"zero.txt", 0, with_zero},
      {"empty.txt", 0, ""},
      {"missing.txt", -1, ""},
      {".", -1, ""},  // a directory
  };
  for (const auto& c : kCases) {
    InputFilePath = (dir / c.name).string();
    Text content = "left over";
    EXPECT_EQ(c.result, LoadInputFile(&content)) << c.name;
    EXPECT_EQ(c.content, content) << c.name;
  }
  fs::remove_all(dir);
}

}  // namespace
