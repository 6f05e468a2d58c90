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
  int Count() const { return static_cast<int>(lines_.size()); }
  // 0-based; throws std::out_of_range outside the list.
  const Text& Get(int index) const;
  void Put(int index, std::string_view line);
  void Add(std::string_view line);
  void Clear() { lines_.clear(); }

  // Every line followed by a carriage return and a line feed.
  Text GetText() const;

  // The value behind "NAME=" on the first line that starts with it, or an
  // empty text.
  std::string_view Value(std::string_view name) const;

 private:
  std::vector<Text> lines_;
};

#endif  // KFX_DB_STRINGS_LIST_H_
