#ifndef KFX_TEXT_H_
#define KFX_TEXT_H_

// Text is a byte string in Windows-1252, the code page of the input file, the
// settings file and every console text. It may hold zero bytes.

#include <string>
#include <string_view>

using Text = std::string;

// Removes trailing characters with a code below 33 (blanks, control
// characters).
inline std::string_view TrimRight(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.back()) < 33) {
    text.remove_suffix(1);
  }
  return text;
}

// Appends the decimal form of `value`, left-padded with '0' to `width` digits.
inline void AppendZeroPadded(Text* out, int value, int width) {
  const std::string digits = std::to_string(value);
  if (static_cast<int>(digits.size()) < width) {
    out->append(width - digits.size(), '0');
  }
  out->append(digits);
}

#endif  // KFX_TEXT_H_
