#ifndef KFX_RUN_PLATFORM_H_
#define KFX_RUN_PLATFORM_H_

// What differs between the platforms the tool runs on.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "text.h"

// Characters that end the directory part of a path.
extern const std::string_view kDirectorySeparators;

// File paths: ArgumentPath gives the form the platform opens by, which may
// differ from the Windows-1252 text shown on the console. On Linux that is
// the argument's bytes; on Windows the UTF-8 form of the wide command-line
// argument, so that names outside the ANSI code page open too. Directory
// separators are ASCII in both, so paths can be cut and joined as bytes.
std::string ArgumentPath(int argc, char** argv, int index);

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Opens a path of the form ArgumentPath gives for reading, in binary mode;
// null when it cannot be opened.
FilePtr OpenForReading(const std::string& path);

// Creates (or empties) a file at a path of the form ArgumentPath gives, for
// writing in binary mode, unbuffered; null when that fails.
FilePtr CreateForWriting(const std::string& path);

// Cuts an open file to `size` bytes; false when that fails.
bool TruncateFile(std::FILE* file, std::uint64_t size);

// The size of an open regular file; 0 for anything else (a pipe, a device).
size_t RegularFileSize(std::FILE* file);

// Prepares the process: the locale for argument conversion, and standard
// streams that stay harmless when the caller closed them or stops reading.
// Call once at start.
void InitPlatform();

// Command-line argument `index` in Windows-1252, the code page of every
// text the program writes; characters it cannot hold become '?'. Empty when
// the argument is missing.
Text ArgumentText(int argc, char** argv, int index);

// Whether standard error goes to a terminal (a console window on Windows)
// that a person is likely watching.
bool StandardErrorIsTerminal();

// Tells the system that the `size` bytes at `data` are about to be filled
// and then read once, in order. Only a hint; the contents do not change.
void AdviseLargeBuffer(char* data, size_t size);

#endif  // KFX_RUN_PLATFORM_H_
