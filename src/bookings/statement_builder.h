#ifndef KFX_BOOKINGS_STATEMENT_BUILDER_H_
#define KFX_BOOKINGS_STATEMENT_BUILDER_H_

// One 29-character booking record becomes one INSERT into the booking table,
// in the dialect DbSystem names ("ORACLE" or "MSSQL").
//
// Record layout, 1-based positions:
//   1-13 Asw  badge, trailing characters below code 33 removed
//  14-19 Dtm  date, ddmmyy
//  20-25 Uhr  time, hhmmss
//     26      not used
//  27-28 Les  reader number, written unquoted
//     29 Zus  booking code, translated, written unquoted; blank: no booking

#include <cstddef>
#include <string_view>

#include "text.h"

inline constexpr size_t kRecordLength = 29;

// Builds the statement for `record` into *statement; leaves it empty when the
// record holds no booking (blank code) or DbSystem names no known dialect.
// Every booking advances SequenceNumber (1..999, then 1 again), whether or
// not a statement results. In debug mode the record is echoed first.
// Quotes inside quoted values are doubled.
void BuildStatement(std::string_view record, Text* statement);

// Whether the record carries a booking (its code is not blank).
bool HasBookingCode(std::string_view record);

// Why the statement for `record` must not be sent, or nullptr when it may:
// the reader number and the booking code are written unquoted, so a quote,
// an identifier quote or a comment opener in them would make SQL of data.
const char* RefusalReason(std::string_view record);

#endif  // KFX_BOOKINGS_STATEMENT_BUILDER_H_
