#include "db/strings_list.h"

#include <stdexcept>

namespace {

void CheckIndex(int index, size_t count) {
  if (index < 0 || static_cast<size_t>(index) >= count)
    throw std::out_of_range("TStrings: index " + std::to_string(index));
}

}  // namespace

const Text& TStrings::Get(int index) const {
  CheckIndex(index, count_);
  return lines_[index];
}

void TStrings::Put(int index, std::string_view line) {
  CheckIndex(index, count_);
  lines_[index].assign(line);
}

void TStrings::Add(std::string_view line) {
  if (count_ < lines_.size()) {
    lines_[count_].assign(line);
  } else {
    lines_.emplace_back(line);
  }
  ++count_;
}

Text TStrings::GetText() const {
  Text text;
  for (size_t i = 0; i < count_; ++i) {
    text.append(lines_[i]);
    text.append("\r\n");
  }
  return text;
}

std::string_view TStrings::Value(std::string_view name) const {
  for (size_t i = 0; i < count_; ++i) {
    std::string_view view = lines_[i];
    if (view.size() > name.size() && view.starts_with(name) &&
        view[name.size()] == '=') {
      return view.substr(name.size() + 1);
    }
  }
  return {};
}
