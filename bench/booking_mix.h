#ifndef KFX_BENCH_BOOKING_MIX_H_
#define KFX_BENCH_BOOKING_MIX_H_

// Booking records as a terminal exports them over a day: mostly comings and
// goings, some errands and absences, a few other codes and records without
// a booking.

#include <string>
#include <vector>

// `count` records of 29 bytes, in a repeating mix of codes: 1 (4 in 10),
// G, A (2 in 10 each), 7 and blank (1 in 10 each). Badges and times vary.
std::vector<std::string> BookingMix(size_t count);

// How many of `records` carry a booking code.
size_t BookingsIn(const std::vector<std::string>& records);

#endif  // KFX_BENCH_BOOKING_MIX_H_
