#include "run/reject_file.h"

#include <cstdio>
#include <utility>

#include "console.h"

namespace {

// Records gathered between two writes at most, when nothing else asks for
// them to be written; a run that fails every booking without asking the
// database (no dialect) then costs one write per this many bytes.
constexpr size_t kPendingLimit = 64 * 1024;

}  // namespace

RejectFile::RejectFile(std::string path, Text shown_name)
    : path_(std::move(path)), shown_name_(std::move(shown_name)) {}

RejectFile::~RejectFile() {
  Flush();
  file_.reset();
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
  if (!file_) {
    file_ = CreateForWriting(path_);
    if (!file_) {
      GiveUp();
      return;
    }
  }
  pending_.append(record);
  ++pending_records_;
  if (pending_.size() >= kPendingLimit)
    Flush();
}

void RejectFile::Flush() {
  if (pending_.empty() || failed_)
    return;
  // The file is unbuffered: what fwrite did not take is not held back to
  // turn up later behind a cut.
  if (std::fwrite(pending_.data(), 1, pending_.size(), file_.get()) !=
      pending_.size()) {
    GiveUp();
    return;
  }
  stored_ += pending_records_;
  stored_bytes_ += pending_.size();
  pending_.clear();
  pending_records_ = 0;
}

void RejectFile::GiveUp() {
  failed_ = true;
  pending_.clear();
  pending_records_ = 0;
  if (file_) {
    // A record cut in half would shift every record behind it on a rerun.
    TruncateFile(file_.get(), stored_bytes_);
    file_.reset();
  }
  Warn({"Warnung: Fehlerdatei '", shown_name_,
        "' kann nicht geschrieben werden"});
}
