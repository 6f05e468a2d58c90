// Input: the bytes of a settings file. Each of the four lookups the run
// makes must end, find only a pair that answers it, take no field from
// beyond the line it was read from, and agree with the lookup that reads the
// same bytes from a file.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>

#include "config/settings_file.h"
#include "fuzz_check.h"

namespace {

std::string settings_path;

void RemoveSettingsFile() {
  std::remove(settings_path.c_str());
}

// The longest section and entry lines one read takes.
constexpr size_t kSectionLineMax = 199;
constexpr size_t kEntryLineMax = 399;

void CheckEntry(const SettingsEntry& entry, std::string_view key) {
  // The run asks with an empty section and the number 0.
  Require(entry.section.empty() || entry.key == key || entry.number == 0,
          "the entry found answers the lookup");
  Require(entry.section.size() <= kSectionLineMax &&
              entry.key.size() <= kEntryLineMax &&
              entry.value.size() <= kEntryLineMax,
          "fields stay within the line they were read from");
  for (const Text* field : {&entry.section, &entry.key, &entry.value}) {
    Require(field->find_first_of("\r\x1a") == Text::npos,
            "text mode drops carriage returns and ends at Ctrl-Z");
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
  char name[] = "/tmp/kfx-settings-fuzzer-XXXXXX";
  const int fd = mkstemp(name);
  Require(fd != -1, "a scratch file can be made");
  close(fd);
  settings_path = name;
  std::atexit(RemoveSettingsFile);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  {
    std::ofstream out(settings_path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  for (std::string_view key : {"LOGIN", "PASS", "DATABASE", "DB_SYSTEM"}) {
    FindSettingsEntry("", key, 0, bytes);
    const SettingsEntry from_memory = CurrentEntry;
    CheckEntry(from_memory, key);
    ReadSettingsEntry("", key, 0, settings_path);
    Require(CurrentEntry.section == from_memory.section &&
                CurrentEntry.number == from_memory.number &&
                CurrentEntry.key == from_memory.key &&
                CurrentEntry.value == from_memory.value,
            "the file and its bytes in memory give the same entry");
  }
  return 0;
}
