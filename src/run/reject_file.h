#ifndef KFX_RUN_REJECT_FILE_H_
#define KFX_RUN_REJECT_FILE_H_

// The bookings of a run that did not reach the table, kept as their original
// records in a file beside the input ("<input>.bad"), so that a run on that
// file sends exactly them again and nothing twice.

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "text.h"

class RejectFile {
 public:
  // `path` in the platform's form; `shown_name` as the console shows it.
  RejectFile(std::string path, Text shown_name);
  RejectFile(const RejectFile&) = delete;
  RejectFile& operator=(const RejectFile&) = delete;
  // Closes the file and names it, with its count, on standard error.
  ~RejectFile();

  // Appends one record. The first call of a run creates the file, replacing
  // an older one. A file that cannot be written is warned about once; the
  // records that reached it stay, whole. With `flush`, the record is on disk
  // before Add returns, so a run killed later still names it; without, it
  // may wait in the buffer until the file is closed.
  void Add(std::string_view record, bool flush = true);

 private:
  void GiveUp();

  std::string path_;
  Text shown_name_;
  std::FILE* file_ = nullptr;
  int stored_ = 0;
  std::uintmax_t stored_bytes_ = 0;
  bool failed_ = false;
};

#endif  // KFX_RUN_REJECT_FILE_H_
