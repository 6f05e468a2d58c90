#include "booking_mix.h"

#include <cstdio>

namespace {

constexpr char kCodes[] = {'1', 'G', '1', 'A', '1', ' ', 'G', '1', 'A', '7'};

// The badge numbers of a site are of mixed lengths; one holds a
// Windows-1252 letter.
constexpr const char* kBadges[] = {"4711", "0000123456", "M\xFCller", "77",
                                   "1234567890123"};

}  // namespace

std::vector<std::string> BookingMix(size_t count) {
  std::vector<std::string> records;
  records.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    std::string record = kBadges[i % std::size(kBadges)];
    record.resize(13, ' ');
    char date_time_reader[17];
    std::snprintf(date_time_reader, sizeof date_time_reader,
                  "%02zu0326%02zu%02zu%02zu0%02zu", 1 + i % 28, 6 + i % 14,
                  i % 60, (i / 60) % 60, 1 + i % 12);
    record += date_time_reader;
    record += kCodes[i % std::size(kCodes)];
    records.push_back(std::move(record));
  }
  return records;
}

size_t BookingsIn(const std::vector<std::string>& records) {
  size_t bookings = 0;
  for (const std::string& record : records)
    bookings += record.back() != ' ';
  return bookings;
}
