#ifndef KFX_RUN_PROGRESS_H_
#define KFX_RUN_PROGRESS_H_

// A line that shows an operator at a terminal how far a long run has come:
// "12345 von 20000 Buchungen (3812/s)", rewritten in place. It appears once
// the run has lasted a second, changes at most four times a second, and is
// removed before any other text, so that it never mixes with the tool's own
// output.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

class ProgressLine {
 public:
  using Clock = std::function<double()>;  // seconds from any fixed point
  using Writer = std::function<void(std::string_view)>;
  using Counter = std::function<size_t()>;

  // A line that shows nothing, for when nobody watches.
  ProgressLine() = default;
  // `count_total` gives the number of bookings of the run; it is asked once,
  // when the line first appears.
  ProgressLine(Clock now, Writer write, Counter count_total);

  // After each record, with the bookings handled so far. Looks at the clock
  // only every so many calls, fewer the faster they come.
  void Update(size_t done) {
    if (enabled_ && --countdown_ == 0)
      Tick(done);
  }

  // Removes the line if it shows; it comes back with the next change.
  void Clear();

 private:
  void Tick(size_t done);

  bool enabled_ = false;
  Clock now_;
  Writer write_;
  Counter count_total_;
  double start_ = 0;
  double last_check_ = 0;
  double last_draw_ = 0;
  size_t stride_ = 1;     // calls between looks at the clock
  size_t countdown_ = 1;  // calls left until the next look
  size_t total_ = 0;
  bool total_known_ = false;
  size_t shown_length_ = 0;  // of the line on screen, 0 when none shows
  std::string line_;
};

// "12345 von 20000 Buchungen (3812/s)"
std::string ProgressText(size_t done, size_t total, double per_second);

// The run's progress line on standard error, shown only when standard error
// is a terminal and no debug trace is written; Print and Warn remove it
// before their text. `input` is the booking file's content; it must stay
// until the last ShowProgress.
void StartProgress(std::string_view input);
void ShowProgress(size_t bookings_done);

#endif  // KFX_RUN_PROGRESS_H_
