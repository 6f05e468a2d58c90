#include "db/param_scanner.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace {

bool EndsParameterName(char c) {
  return c == ' ' || c == ',' || c == ';' || c == ')' || c == '\r' || c == '\n';
}

bool IsQuote(char c) {
  return c == '\'' || c == '"' || c == '`';
}

// Where the next character that means something to the scan lies, from
// `from` on: a quote or a colon; sql.size() when none does.
size_t NextSpecial(std::string_view sql, size_t from) {
  while (from < sql.size() && !IsQuote(sql[from]) && sql[from] != ':')
    ++from;
  return from;
}

}  // namespace

std::optional<Text> ScanParameters(std::string_view sql, Text* to_send) {
  std::optional<Text> first;
  to_send->clear();
  to_send->reserve(sql.size());
  // Plain runs are copied whole rather than byte by byte: this runs once per
  // statement sent.
  size_t i = 0;
  while (i < sql.size()) {
    const size_t special = NextSpecial(sql, i);
    to_send->append(sql.substr(i, special - i));
    if (special == sql.size())
      break;
    const char c = sql[special];
    if (IsQuote(c)) {
      // A doubled quote inside a literal closes and reopens it, which leaves
      // the scan in the same state. A literal left open runs to the end.
      const size_t close = sql.find(c, special + 1);
      const size_t end =
          close == std::string_view::npos ? sql.size() : close + 1;
      to_send->append(sql.substr(special, end - special));
      i = end;
    } else if (special + 1 < sql.size() && sql[special + 1] == ':') {
      to_send->push_back(':');
      i = special + 2;
    } else {
      size_t end = special + 1;
      while (end < sql.size() && !EndsParameterName(sql[end]))
        ++end;
      if (!first)
        first = Text(sql.substr(special + 1, end - special - 1));
      to_send->append(sql.substr(special, end - special));
      i = end;
    }
  }
  return first;
}

namespace {

// Whether `text` holds an odd number of `c`. Statements are a few hundred
// bytes and this runs once for each, so it takes eight bytes at a time.
bool OddCountOf(std::string_view text, char c) {
  constexpr uint64_t kOnes = 0x0101010101010101;
  constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7F;
  const uint64_t pattern = kOnes * static_cast<unsigned char>(c);
  // Bit 7 of each byte lane flips for every `c` seen in that lane.
  uint64_t flips = 0;
  size_t i = 0;
  for (; i + 8 <= text.size(); i += 8) {
    uint64_t word;
    std::memcpy(&word, text.data() + i, 8);
    const uint64_t x = word ^ pattern;
    // 0x80 exactly in the bytes of x that are zero.
    flips ^= ~(((x & kLow7) + kLow7) | x | kLow7);
  }
  bool odd = std::popcount(flips) % 2 == 1;
  for (; i < text.size(); ++i)
    odd ^= text[i] == c;
  return odd;
}

}  // namespace

bool ColonsOnlyInLiterals(std::string_view sql) {
  size_t colon = sql.find(':');
  if (colon == std::string_view::npos)
    return true;
  // With only ' as a quote, a colon lies inside a literal exactly when an
  // odd number of quotes comes before it (a doubled quote adds two). The
  // other quotes are rare enough to leave to the full scan.
  if (sql.find('"') != std::string_view::npos ||
      sql.find('`') != std::string_view::npos) {
    return false;
  }
  bool inside = false;
  size_t counted_to = 0;
  while (colon != std::string_view::npos) {
    inside ^= OddCountOf(sql.substr(counted_to, colon - counted_to), '\'');
    if (!inside)
      return false;
    counted_to = colon;
    colon = sql.find(':', colon + 1);
  }
  return true;
}
