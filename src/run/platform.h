#ifndef KFX_RUN_PLATFORM_H_
#define KFX_RUN_PLATFORM_H_

// What differs between the platforms the tool runs on.

#include <cstddef>
#include <string_view>

#include "text.h"

// Characters that end the directory part of a path.
extern const std::string_view kDirectorySeparators;

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
