#include "run/reject_file.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

#include "bookings/statement_builder.h"
#include "console.h"
#include "run/platform.h"

RejectFile::RejectFile(std::string path, Text shown_name)
    : path_(std::move(path)), shown_name_(std::move(shown_name)) {}

RejectFile::~RejectFile() {
  if (file_ != nullptr) {
    if (std::fflush(file_) != 0)
      GiveUp();
    else
      std::fclose(file_);
  }
  // Also said when an unexpected error ends the run: what is in the file
  // is true either way.
  if (stored_ > 0) {
    Warn({"Warnung: ", std::to_string(stored_),
          " Buchungen nicht geschrieben, gesichert in '", shown_name_, "'"});
  }
}

void RejectFile::Add(std::string_view record, bool flush) {
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
  // Flushed record by record where asked: a run that is killed later keeps
  // what it already knew, and failures are rare enough for the cost not to
  // count.
  if (std::fwrite(record.data(), 1, record.size(), file_) != record.size() ||
      (flush && std::fflush(file_) != 0)) {
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
    // A record cut in half would shift every record behind it on a rerun,
    // and records still in the buffer may not have reached the disk: keep
    // the whole records that did.
    std::error_code error;
    const auto native_path = NativePath(path_);
    const std::uintmax_t on_disk =
        std::filesystem::file_size(native_path, error);
    std::uintmax_t whole = error ? 0 : std::min(on_disk, stored_bytes_);
    whole -= whole % kRecordLength;
    std::filesystem::resize_file(native_path, whole, error);
    stored_ = static_cast<int>(whole / kRecordLength);
    stored_bytes_ = whole;
  }
  Warn({"Warnung: Fehlerdatei '", shown_name_,
        "' kann nicht geschrieben werden"});
}
