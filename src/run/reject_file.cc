#include "run/reject_file.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "console.h"
#include "run/platform.h"

RejectFile::RejectFile(std::string path, Text shown_name)
    : path_(std::move(path)), shown_name_(std::move(shown_name)) {}

RejectFile::~RejectFile() {
  // Every record was flushed as it came: closing adds nothing to check.
  if (file_ != nullptr)
    std::fclose(file_);
  // Also said when an unexpected error ends the run: what is in the file
  // is true either way.
  if (stored_ > 0) {
    Warn({"Warnung: ", std::to_string(stored_),
          " Buchungen nicht geschrieben, gesichert in '", shown_name_, "'"});
  }
}

void RejectFile::Add(std::string_view record) {
  if (failed_)
    return;
  if (file_ == nullptr) {
    // Binary, so that a record's line breaks and zero bytes stay as they
    // came.
    file_ = CreateForWriting(path_).release();
    if (file_ == nullptr) {
      GiveUp();
      return;
    }
  }
  // Flushed record by record: a run that is killed later keeps what it
  // already knew, and failures are rare enough for the cost not to count.
  if (std::fwrite(record.data(), 1, record.size(), file_) != record.size() ||
      std::fflush(file_) != 0) {
    GiveUp();
    return;
  }
  ++stored_;
  stored_bytes_ += record.size();
}

void RejectFile::GiveUp() {
  failed_ = true;
  if (file_ != nullptr) {
    std::fclose(file_);
    file_ = nullptr;
    // A record cut in half would shift every record behind it on a rerun.
    std::error_code ignored;
    std::filesystem::resize_file(NativePath(path_), stored_bytes_, ignored);
  }
  Warn({"Warnung: Fehlerdatei '", shown_name_,
        "' kann nicht geschrieben werden"});
}
