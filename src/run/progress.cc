#include "run/progress.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <utility>

#include "bookings/statement_builder.h"
#include "console.h"
#include "run/platform.h"
#include "run_state.h"

namespace {

constexpr double kFirstShowAfter = 1.0;  // seconds
constexpr double kRedrawAfter = 0.25;    // seconds
// Looking at the clock costs about as much as building a statement: when
// records come faster than this, it is done less often. The stride stays
// short, so that a run which slows down (a file of blank records, then
// bookings for a slow server) shows so within a few hundred records.
constexpr double kCheckAtLeast = 0.01;  // seconds between looks
constexpr double kCheckAtMost = 0.05;
constexpr size_t kLongestStride = 256;

}  // namespace

ProgressLine::ProgressLine(Clock now, Writer write, Counter count_total)
    : enabled_(true),
      now_(std::move(now)),
      write_(std::move(write)),
      count_total_(std::move(count_total)) {
  start_ = last_check_ = now_();
}

void ProgressLine::Tick(size_t done) {
  const double now = now_();
  const double since_check = now - last_check_;
  last_check_ = now;
  if (since_check < kCheckAtLeast) {
    stride_ = std::min(stride_ * 2, kLongestStride);
  } else if (since_check > kCheckAtMost) {
    stride_ = 1;
  }
  countdown_ = stride_;

  const double elapsed = now - start_;
  if (elapsed <= kFirstShowAfter ||
      (shown_length_ > 0 && now - last_draw_ < kRedrawAfter)) {
    return;
  }
  if (!total_known_) {
    total_ = count_total_();
    total_known_ = true;
  }
  last_draw_ = now;
  const std::string text = ProgressText(done, total_, done / elapsed);
  line_.clear();  // not assign("\r"): GCC 12 warns falsely on it
  line_.push_back('\r');
  line_.append(text);
  // Blanks over what is left of a longer line before.
  if (shown_length_ > text.size())
    line_.append(shown_length_ - text.size(), ' ');
  write_(line_);
  shown_length_ = text.size();
}

void ProgressLine::Clear() {
  if (shown_length_ == 0)
    return;
  line_.clear();  // not assign("\r"): GCC 12 warns falsely on it
  line_.push_back('\r');
  line_.append(shown_length_, ' ');
  line_.push_back('\r');
  write_(line_);
  shown_length_ = 0;
}

std::string ProgressText(size_t done, size_t total, double per_second) {
  return std::to_string(done) + " von " + std::to_string(total) +
         " Buchungen (" + std::to_string(static_cast<long long>(per_second)) +
         "/s)";
}

namespace {

ProgressLine run_progress;

double SteadySeconds() {
  return std::chrono::duration<double>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

void WriteToStandardError(std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fflush(stderr);
}

void ClearProgress() {
  run_progress.Clear();
}

}  // namespace

void StartProgress(std::string_view input) {
  // The debug trace writes every record to the same screen.
  if (DebugMode || !StandardErrorIsTerminal()) {
    run_progress = ProgressLine();
    return;
  }
  run_progress = ProgressLine(SteadySeconds, WriteToStandardError, [input] {
    size_t bookings = 0;
    for (size_t at = 0; at + kRecordLength <= input.size();
         at += kRecordLength) {
      bookings += HasBookingCode(input.substr(at, kRecordLength));
    }
    return bookings;
  });
  BeforeConsoleText = ClearProgress;
}

void ShowProgress(size_t bookings_done) {
  run_progress.Update(bookings_done);
}
