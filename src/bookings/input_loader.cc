#include "bookings/input_loader.h"

#include <cstdio>

#include "run/platform.h"
#include "run_state.h"

int LoadInputFile(Text* content) {
  content->clear();
  FilePtr file = OpenForReading(InputFilePath);
  if (!file)
    return -1;
  // The size is only a hint: read to the end, whatever it said.
  const size_t size_hint = RegularFileSize(file.get());
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
