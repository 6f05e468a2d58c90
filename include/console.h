#ifndef KFX_CONSOLE_H_
#define KFX_CONSOLE_H_

// Console output. The program's texts are Windows-1252 bytes and may hold
// zero bytes (record contents), so pieces are written with their lengths
// rather than through a format string.

#include <cstdio>
#include <initializer_list>
#include <string_view>

// Writes bytes to standard output with the line breaks of the platform's
// console programs (src/run/platform-*.cc): as they are on Linux, CR LF on
// Windows.
void WriteStandardOutput(std::string_view bytes);

// Set while a progress line may stand on standard error: it wipes the line
// before any other text appears, which would otherwise be glued to it or
// written over by it on the same screen.
inline void (*BeforeConsoleText)() = nullptr;

// Writes the pieces to standard output, one after the other.
inline void Print(std::initializer_list<std::string_view> pieces) {
  if (BeforeConsoleText != nullptr)
    BeforeConsoleText();
  for (std::string_view piece : pieces) {
    WriteStandardOutput(piece);
  }
}

// Writes one warning line for the operator to standard error; control
// characters in the pieces show as '?', so it stays one line. Standard
// output is flushed first so that both streams read in order on a terminal.
inline void Warn(std::initializer_list<std::string_view> pieces) {
  if (BeforeConsoleText != nullptr)
    BeforeConsoleText();
  std::fflush(stdout);
  for (std::string_view piece : pieces) {
    for (char c : piece) {
      std::fputc(static_cast<unsigned char>(c) < 32 ? '?' : c, stderr);
    }
  }
  std::fputc('\n', stderr);
}

#endif  // KFX_CONSOLE_H_
