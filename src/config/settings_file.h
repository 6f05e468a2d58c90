#ifndef KFX_CONFIG_SETTINGS_FILE_H_
#define KFX_CONFIG_SETTINGS_FILE_H_

// The connection settings file: lines taken in pairs, a section line
// ("x;SECTION;...") and an entry line ("NUMBER;KEY;VALUE"). Read in text
// mode: carriage returns are dropped and Ctrl-Z ends the file.

#include <cstdint>
#include <string>
#include <string_view>

#include "text.h"

// The pair found by the last lookup. Empty (texts empty, number 0) when the
// lookup found nothing.
struct SettingsEntry {
  Text section;
  int32_t number = 0;
  Text key;
  Text value;
};

// The process-wide current entry that ReadSettingsEntry fills.
extern SettingsEntry CurrentEntry;

// 0-based position of the n-th `ch` in `line`; the last one found when there
// are fewer than n; -1 when there is none or n is below 1.
int FindNthChar(std::string_view line, char ch, int n);

// The `length` characters of `line` from 0-based `start`. A length of 0 means
// "to the end of the line", the line break included; a negative length, or a
// start outside the line, gives an empty text.
Text CopyPart(std::string_view line, int start, int length);

// Searches the settings file at `path` (a native path) for the first pair
// whose section equals `section`, whose key equals `key`, or whose number
// equals `number`, and leaves it in CurrentEntry. The file is opened anew and
// read from its start on every call. A missing or unreadable file, or no
// match, leaves CurrentEntry empty. Prints nothing.
void ReadSettingsEntry(std::string_view section, std::string_view key,
                       int32_t number, const std::string& path);

// The same lookup over the settings file's bytes as they lie on disk, for a
// caller that already holds them: text mode is applied here.
void FindSettingsEntry(std::string_view section, std::string_view key,
                       int32_t number, std::string_view file_bytes);

#endif  // KFX_CONFIG_SETTINGS_FILE_H_
