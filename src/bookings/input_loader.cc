#include "bookings/input_loader.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "run/platform.h"
#include "run_state.h"

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// The size of a regular file, 0 for anything else (a directory, a pipe).
size_t SizeHint(const std::string& path) {
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  return error ? 0 : static_cast<size_t>(size);
}

}  // namespace

int LoadInputFile(Text* content) {
  content->clear();
  std::unique_ptr<std::FILE, FileCloser> file(
      std::fopen(InputFilePath.c_str(), "rb"));
  if (!file)
    return -1;
  // The size is only a hint: read to the end, whatever it said.
  const size_t size_hint = SizeHint(InputFilePath);
  content->reserve(size_hint);
  AdviseLargeBuffer(content->data(), content->capacity());
  content->resize(size_hint);
  size_t filled = std::fread(content->data(), 1, content->size(), file.get());
  while (filled == content->size() && !std::ferror(file.get())) {
    char chunk[4096];
    const size_t got = std::fread(chunk, 1, sizeof chunk, file.get());
    if (got == 0)
      break;
    content->append(chunk, got);
    filled = content->size();
  }
  if (std::ferror(file.get())) {
    content->clear();
    return -1;
  }
  content->resize(filled);
  return 0;
}
