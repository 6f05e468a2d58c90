#ifndef KFX_CP1252_H_
#define KFX_CP1252_H_

// Windows-1252 <-> UTF-16. Bytes 0x80-0x9F are where Windows-1252 differs
// from Latin-1; the five bytes it leaves undefined map to the C1 controls of
// the same value, as Windows itself does, so every byte survives a round
// trip.

#include <array>
#include <string>
#include <string_view>

namespace cp1252 {

inline constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

inline char16_t ToUnit(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F)
    return kHighControls[byte - 0x80];
  return byte;
}

// The Windows-1252 byte for a code point, or '?' when it has none.
inline char FromCodePoint(char32_t code) {
  if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
    return static_cast<char>(code);
  }
  for (size_t i = 0; i < kHighControls.size(); ++i) {
    if (kHighControls[i] == code)
      return static_cast<char>(0x80 + i);
  }
  return '?';
}

// Replaces *out with the UTF-16 form of `text`.
inline void ToUtf16(std::string_view text, std::u16string* out) {
  out->resize(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    (*out)[i] = ToUnit(static_cast<unsigned char>(text[i]));
  }
}

inline std::u16string ToUtf16(std::string_view text) {
  std::u16string out;
  ToUtf16(text, &out);
  return out;
}

// Windows-1252 form of UTF-16 text; a surrogate pair counts as one
// character and, like every character outside the code page, becomes '?'.
inline std::string FromUtf16(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char16_t unit = text[i];
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() &&
        text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      ++i;
      out.push_back('?');
      continue;
    }
    out.push_back(FromCodePoint(unit));
  }
  return out;
}

}  // namespace cp1252

#endif  // KFX_CP1252_H_
