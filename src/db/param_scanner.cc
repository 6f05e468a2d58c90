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
// bytes and this reads most of each, so it compares sixteen bytes at a time
// where the compiler offers vectors, eight where not, and only the rest one
// by one.
bool OddCountOf(std::string_view text, char c) {
  constexpr uint64_t kOnes = 0x0101010101010101;
  constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7F;
  size_t i = 0;
  // Bit 0 of each byte lane: the parity of the `c` seen in that lane.
  uint64_t lane_parity = 0;
#if defined(__GNUC__)
  using Bytes = unsigned char __attribute__((vector_size(16)));
  const Bytes pattern = Bytes{} + static_cast<unsigned char>(c);
  Bytes counts{};  // modulo 256, which keeps the parity
  for (; i + sizeof(Bytes) <= text.size(); i += sizeof(Bytes)) {
    Bytes chunk;
    std::memcpy(&chunk, text.data() + i, sizeof chunk);
    counts -= reinterpret_cast<Bytes>(chunk == pattern);
  }
  uint64_t halves[2];
  std::memcpy(halves, &counts, sizeof halves);
  lane_parity = (halves[0] ^ halves[1]) & kOnes;
#endif
  const uint64_t pattern64 = kOnes * static_cast<unsigned char>(c);
  for (; i + 8 <= text.size(); i += 8) {
    uint64_t word;
    std::memcpy(&word, text.data() + i, 8);
    const uint64_t x = word ^ pattern64;
    // 0x80 exactly in the bytes of x that are zero.
    lane_parity ^= ~(((x & kLow7) + kLow7) | x | kLow7) >> 7;
  }
  bool odd = std::popcount(lane_parity) % 2 == 1;
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
