#ifndef KFX_DB_STRINGS_LIST_H_
#define KFX_DB_STRINGS_LIST_H_

// A list of text lines: the connection's parameter lines and the query's
// statement text.

#include <string>
#include <string_view>
#include <vector>

#include "text.h"

class TStrings {
 public:
  int Count() const { return static_cast<int>(count_); }
  // 0-based; throws std::out_of_range outside the list.
  const Text& Get(int index) const;
  void Put(int index, std::string_view line);
  void Add(std::string_view line);
  void Clear() { count_ = 0; }

  // Every line followed by a carriage return and a line feed.
  Text GetText() const;

  // The value behind "NAME=" on the first line that starts with it, or an
  // empty text.
  std::string_view Value(std::string_view name) const;

 private:
  // Cleared lines keep their buffers for the next Add: the query's text is
  // replaced once per booking, and that must not cost an allocation.
  std::vector<Text> lines_;
  size_t count_ = 0;  // lines in use, at the front of lines_
};

#endif  // KFX_DB_STRINGS_LIST_H_
