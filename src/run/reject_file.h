#ifndef KFX_RUN_REJECT_FILE_H_
#define KFX_RUN_REJECT_FILE_H_

// The bookings of a run that did not reach the table, kept as their original
// records in a file beside the input ("<input>.bad"), so that a run on that
// file sends exactly them again and nothing twice.

#include <cstdint>
#include <string>
#include <string_view>

#include "run/platform.h"
#include "text.h"

class RejectFile {
 public:
  // `path` in the form ArgumentPath gives; `shown_name` as the console
  // shows it.
  RejectFile(std::string path, Text shown_name);
  RejectFile(const RejectFile&) = delete;
  RejectFile& operator=(const RejectFile&) = delete;
  // Writes what is pending and names the file, with its count, on standard
  // error.
  ~RejectFile();

  // Takes one record. The first call of a run creates the file, replacing
  // an older one. A file that cannot be written is warned about once; the
  // records that reached it stay, whole.
  void Add(std::string_view record);

  // Puts the records taken so far on disk. Called before the run waits on
  // anything outside, so that a run killed there keeps what it knew.
  void Flush();

 private:
  void GiveUp();

  std::string path_;
  Text shown_name_;
  FilePtr file_;
  std::string pending_;  // records taken, not yet written
  int pending_records_ = 0;
  int stored_ = 0;  // records written whole
  std::uint64_t stored_bytes_ = 0;
  bool failed_ = false;
};

#endif  // KFX_RUN_REJECT_FILE_H_
