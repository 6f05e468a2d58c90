#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
// shellapi.h needs the declarations of windows.h first.
#include <shellapi.h>

#include <string>

#include "console.h"
#include "cp1252.h"
#include "run/crlf_line_breaks.h"
#include "run/platform.h"

const std::string_view kDirectorySeparators = "\\:";

namespace {

// Argument `index` of the wide command line, which holds the arguments as
// typed, whatever the console's code page; empty when it is missing.
std::wstring WideArgument(int index) {
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::wstring argument;
  if (wide != nullptr && index < count)
    argument = wide[index];
  LocalFree(wide);
  return argument;
}

std::string Utf8FromWide(const std::wstring& wide) {
  if (wide.empty())
    return std::string();
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(),
                                       static_cast<int>(wide.size()), nullptr,
                                       0, nullptr, nullptr);
  std::string utf8(size > 0 ? size : 0, '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                      utf8.data(), size, nullptr, nullptr);
  return utf8;
}

std::wstring WideFromUtf8(const std::string& utf8) {
  if (utf8.empty())
    return std::wstring();
  const int size = MultiByteToWideChar(
      CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(size > 0 ? size : 0, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                      wide.data(), size);
  return wide;
}

}  // namespace

std::string ArgumentPath(int argc, char** /*argv*/, int index) {
  if (index >= argc)
    return std::string();
  return Utf8FromWide(WideArgument(index));
}

FilePtr OpenForReading(const std::string& path) {
  return FilePtr(_wfopen(WideFromUtf8(path).c_str(), L"rb"));
}

FilePtr CreateForWriting(const std::string& path) {
  FilePtr file(_wfopen(WideFromUtf8(path).c_str(), L"wb"));
  if (file)
    std::setvbuf(file.get(), nullptr, _IONBF, 0);
  return file;
}

bool TruncateFile(std::FILE* file, std::uint64_t size) {
  return _chsize_s(_fileno(file), static_cast<__int64>(size)) == 0;
}

size_t RegularFileSize(std::FILE* file) {
  struct _stat64 status;
  if (_fstat64(_fileno(file), &status) != 0 ||
      (status.st_mode & _S_IFMT) != _S_IFREG) {
    return 0;
  }
  return static_cast<size_t>(status.st_size);
}

// Standard output is switched to binary mode at start, so the line breaks
// are made here, once; the C runtime's text mode would turn the CR LF behind
// a statement into CR CR LF.
void WriteStandardOutput(std::string_view bytes) {
  static CrLfLineBreaks line_breaks;
  const std::string_view text = line_breaks.Convert(bytes);
  std::fwrite(text.data(), 1, text.size(), stdout);
}

void InitPlatform() {
  // WriteStandardOutput makes the line breaks; the runtime must add none.
  const int out = _fileno(stdout);
  if (out >= 0)
    _setmode(out, _O_BINARY);
}

Text ArgumentText(int argc, char** /*argv*/, int index) {
  if (index >= argc)
    return Text();
  const std::wstring wide = WideArgument(index);
  return cp1252::FromUtf16(std::u16string(wide.begin(), wide.end()));
}

bool StandardErrorIsTerminal() {
  // Only a console has a console mode: a pipe or a file has none.
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

void AdviseLargeBuffer(char* /*data*/, size_t /*size*/) {}
