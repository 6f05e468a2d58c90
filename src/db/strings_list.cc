#include "db/strings_list.h"

#include <stdexcept>

const Text& TStrings::Get(int index) const {
  return lines_.at(index);
}

void TStrings::Put(int index, std::string_view line) {
  lines_.at(index).assign(line);
}

void TStrings::Add(std::string_view line) {
  lines_.emplace_back(line);
}

Text TStrings::GetText() const {
  Text text;
  for (const Text& line : lines_) {
    text.append(line);
    text.append("\r\n");
  }
  return text;
}

std::string_view TStrings::Value(std::string_view name) const {
  for (const Text& line : lines_) {
    std::string_view view = line;
    if (view.size() > name.size() && view.starts_with(name) &&
        view[name.size()] == '=') {
      return view.substr(name.size() + 1);
    }
  }
  return {};
}
