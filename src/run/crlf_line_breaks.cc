#include "run/crlf_line_breaks.h"

std::string CrLfLineBreaks::Convert(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 16);
  for (char c : bytes) {
    if (c == '\n' && !after_carriage_return_)
      out.push_back('\r');
    out.push_back(c);
    after_carriage_return_ = c == '\r';
  }
  return out;
}
