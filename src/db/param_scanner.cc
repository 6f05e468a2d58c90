#include "db/param_scanner.h"

namespace {

bool EndsParameterName(char c) {
  return c == ' ' || c == ',' || c == ';' || c == ')' || c == '\r' || c == '\n';
}

bool IsQuote(char c) {
  return c == '\'' || c == '"' || c == '`';
}

}  // namespace

std::optional<Text> ScanParameters(std::string_view sql, Text* to_send) {
  std::optional<Text> first;
  to_send->clear();
  to_send->reserve(sql.size());
  char open_quote = 0;
  for (size_t i = 0; i < sql.size(); ++i) {
    const char c = sql[i];
    if (open_quote != 0) {
      // A doubled quote inside a literal closes and reopens it, which leaves
      // the scan in the same state.
      if (c == open_quote)
        open_quote = 0;
      to_send->push_back(c);
    } else if (IsQuote(c)) {
      open_quote = c;
      to_send->push_back(c);
    } else if (c == ':' && i + 1 < sql.size() && sql[i + 1] == ':') {
      to_send->push_back(':');
      ++i;
    } else if (c == ':') {
      size_t end = i + 1;
      while (end < sql.size() && !EndsParameterName(sql[end]))
        ++end;
      if (!first)
        first = Text(sql.substr(i + 1, end - i - 1));
      to_send->append(sql.substr(i, end - i));
      i = end - 1;
    } else {
      to_send->push_back(c);
    }
  }
  return first;
}
