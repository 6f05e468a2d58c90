#include "config/settings_file.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "run/platform.h"

SettingsEntry CurrentEntry;

namespace {

// The file was always read with fgets into buffers of 200 and 400 bytes;
// existing files rely on where those reads split long lines, so the read
// lengths (buffer less the terminating zero) are part of the format.
constexpr std::size_t kSectionLineMax = 199;
constexpr std::size_t kEntryLineMax = 399;

// The number field was copied into a 12-byte buffer before atol saw it.
constexpr std::size_t kNumberTextMax = 11;

// Text mode treats Ctrl-Z as the end of the file.
constexpr char kTextEndOfFile = 26;

// Appends `bytes` to *text as a text-mode stream delivers them: carriage
// returns dropped, nothing from Ctrl-Z on. True when Ctrl-Z was met, so that
// the caller reads no further.
bool AppendAsText(std::string_view bytes, std::string* text) {
  const std::string_view kept = bytes.substr(0, bytes.find(kTextEndOfFile));
  std::copy_if(kept.begin(), kept.end(), std::back_inserter(*text),
               [](char ch) { return ch != '\r'; });
  return kept.size() < bytes.size();
}

// The file's bytes as a text-mode stream delivers them. Reading stops at
// Ctrl-Z, so nothing behind it is ever loaded. A path that cannot be opened
// or read yields no bytes, which the lookup treats like an empty file.
// A read that fails part way (a directory, say) keeps what came before.
std::string LoadAsText(const std::string& path) {
  std::string text;
  const FilePtr file = OpenForReading(path);
  if (!file)
    return text;
  char chunk[4096];
  for (;;) {
    const std::size_t got = std::fread(chunk, 1, sizeof chunk, file.get());
    if (got == 0)
      break;
    if (AppendAsText(std::string_view(chunk, got), &text))
      break;
  }
  return text;
}

// Hands out lines the way fgets does: up to and including '\n', but never
// more than a buffer holds, leaving the rest of a long line for the next read.
class LineReader {
 public:
  explicit LineReader(std::string_view text) : rest_(text) {}

  // No line once the text is used up; a last line without '\n' still counts.
  std::optional<std::string_view> Next(std::size_t max_length) {
    if (rest_.empty())
      return std::nullopt;
    // Looking only within the read length keeps long unbroken lines linear.
    const std::string_view window = rest_.substr(0, max_length);
    const std::size_t line_break = window.find('\n');
    const std::size_t length =
        line_break == std::string_view::npos ? window.size() : line_break + 1;
    const std::string_view line = rest_.substr(0, length);
    rest_.remove_prefix(length);
    return line;
  }

 private:
  std::string_view rest_;
};

bool IsAtolSpace(char ch) {
  return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\v' || ch == '\f' ||
         ch == '\r';
}

// Reads the number the way a 32-bit atol does, overflow wrapping around
// rather than saturating, so that existing files keep their numbers.
int32_t ParseNumber(std::string_view text) {
  text = text.substr(0, kNumberTextMax);
  std::size_t pos = 0;
  while (pos < text.size() && IsAtolSpace(text[pos]))
    ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }
  uint32_t value = 0;
  for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
    value = value * 10u + static_cast<uint32_t>(text[pos] - '0');
  }
  if (negative)
    value = 0u - value;
  return static_cast<int32_t>(value);
}

// The field arithmetic below deliberately lets a missing ";" (-1) or an empty
// field (length 0) flow into CopyPart; what comes out in those cases is how
// files in use have always been read.

Text SectionOf(std::string_view line) {
  const int p1 = FindNthChar(line, ';', 1);
  const int p2 = FindNthChar(line, ';', 2);
  return CopyPart(line, p1 + 1, p2 - p1 - 1);
}

SettingsEntry ParsePair(std::string_view section_line,
                        std::string_view entry_line) {
  SettingsEntry entry;
  entry.section = SectionOf(section_line);
  const int q1 = FindNthChar(entry_line, ';', 1);
  const int q2 = FindNthChar(entry_line, ';', 2);
  entry.number = ParseNumber(CopyPart(entry_line, 0, q1));
  entry.key = CopyPart(entry_line, q1 + 1, q2 - q1 - 1);
  if (q1 != -1) {
    const int line_break = FindNthChar(entry_line, '\n', 1);
    entry.value = CopyPart(entry_line, q2 + 1, line_break - q2 - 1);
  } else {
    entry.value = CopyPart(entry_line, q2 + 1, 0);
  }
  return entry;
}

bool Matches(const SettingsEntry& entry, std::string_view section,
             std::string_view key, int32_t number) {
  return entry.section == section || entry.key == key || entry.number == number;
}

// Searches the file's text, already in text mode, and leaves the first
// matching pair in CurrentEntry, or an empty entry.
void LookUpInText(std::string_view section, std::string_view key,
                  int32_t number, std::string_view text) {
  CurrentEntry = SettingsEntry();
  LineReader reader(text);
  for (;;) {
    const std::optional<std::string_view> section_line =
        reader.Next(kSectionLineMax);
    if (!section_line)
      return;
    const std::optional<std::string_view> entry_line =
        reader.Next(kEntryLineMax);
    if (!entry_line)
      return;
    SettingsEntry entry = ParsePair(*section_line, *entry_line);
    if (Matches(entry, section, key, number)) {
      CurrentEntry = std::move(entry);
      return;
    }
  }
}

}  // namespace

int FindNthChar(std::string_view line, char ch, int n) {
  int found = -1;
  int count = 0;
  for (std::size_t i = 0; i < line.size() && count < n; ++i) {
    if (line[i] == ch) {
      found = static_cast<int>(i);
      ++count;
    }
  }
  return found;
}

Text CopyPart(std::string_view line, int start, int length) {
  if (length < 0 || start < 0 ||
      static_cast<std::size_t>(start) > line.size()) {
    return Text();
  }
  if (length == 0)
    return Text(line.substr(start));
  return Text(line.substr(start, length));
}

void ReadSettingsEntry(std::string_view section, std::string_view key,
                       int32_t number, const std::string& path) {
  LookUpInText(section, key, number, LoadAsText(path));
}

void FindSettingsEntry(std::string_view section, std::string_view key,
                       int32_t number, std::string_view file_bytes) {
  std::string text;
  AppendAsText(file_bytes, &text);
  LookUpInText(section, key, number, text);
}
