#include "run/progress.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A progress line on a clock the test sets, writing into `screen`.
struct FakeTerminal {
  double now = 100.0;
  int clock_reads = 0;
  int total_asked = 0;
  std::string screen;
  ProgressLine line{[this] {
                      ++clock_reads;
                      return now;
                    },
                    [this](std::string_view text) { screen += text; },
                    [this] {
                      ++total_asked;
                      return size_t{500};
                    }};
};

TEST(ProgressTest, AppearsAfterASecondAndRedrawsAtMostFourTimesASecond) {
  FakeTerminal t;
  for (size_t done = 1; done <= 30; ++done) {
    t.now += 0.1;  // bookings every tenth of a second
    t.line.Update(done);
  }
  // Drawn at 1.1 s (11 done), then every 0.3 s (three steps of 0.1 s).
  EXPECT_EQ(
      "\r11 von 500 Buchungen (10/s)"
      "\r14 von 500 Buchungen (10/s)"
      "\r17 von 500 Buchungen (10/s)"
      "\r20 von 500 Buchungen (10/s)"
      "\r23 von 500 Buchungen (10/s)"
      "\r26 von 500 Buchungen (10/s)"
      "\r29 von 500 Buchungen (10/s)",
      t.screen);
  EXPECT_EQ(1, t.total_asked);
}

TEST(ProgressTest, ClearRemovesTheLineAndAShorterLineCoversALongerOne) {
  FakeTerminal t;
  t.line.Clear();
  EXPECT_EQ("", t.screen) << "nothing to clear yet";
  t.now += 2.0;
  t.line.Update(1000);
  EXPECT_EQ("\r1000 von 500 Buchungen (500/s)", t.screen);
  t.screen.clear();
  t.now += 8.0;
  t.line.Update(5);
  EXPECT_EQ("\r5 von 500 Buchungen (0/s)     ", t.screen);
  t.screen.clear();
  t.line.Clear();
  EXPECT_EQ("\r" + std::string(25, ' ') + "\r", t.screen);
  t.screen.clear();
  t.line.Clear();
  EXPECT_EQ("", t.screen);
}

TEST(ProgressTest, FastBookingsLookAtTheClockRarely) {
  FakeTerminal t;
  for (size_t done = 1; done <= 1'000'000; ++done) {
    t.now += 1e-7;  // ten million a second
    t.line.Update(done);
  }
  EXPECT_LT(t.clock_reads, 1'000'000 / 200);
}

TEST(ProgressTest, SlowBookingsAreShownEvenAfterAFastStart) {
  FakeTerminal t;
  size_t done = 0;
  for (; done < 100'000; ++done) {
    t.now += 1e-7;
    t.line.Update(done);
  }
  // Then a hundred bookings a second, as for a slow server: shown within
  // three seconds.
  for (int i = 0; i < 300 && t.screen.empty(); ++i) {
    t.now += 0.01;
    t.line.Update(++done);
  }
  EXPECT_NE("", t.screen);
}

TEST(ProgressTest, ALineWithoutClockShowsNothing) {
  ProgressLine line;
  line.Update(1);
  line.Clear();
}

}  // namespace
