#include "run/crlf_line_breaks.h"

std::string_view CrLfLineBreaks::Convert(std::string_view bytes) {
  buffer_.clear();
  for (char c : bytes) {
    if (c == '\n' && !after_carriage_return_)
      buffer_.push_back('\r');
    buffer_.push_back(c);
    after_carriage_return_ = c == '\r';
  }
  return buffer_;
}
