#include <windows.h>
// shellapi.h needs the declarations of windows.h first.
#include <shellapi.h>

#include <string>

#include "cp1252.h"
#include "run/platform.h"

const std::string_view kDirectorySeparators = "\\:";

void InitPlatform() {}

Text ArgumentText(int argc, char** /*argv*/, int index) {
  if (index >= argc)
    return Text();
  // The wide command line holds the arguments as typed, whatever the
  // console's code page.
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  Text text;
  if (wide != nullptr && index < count) {
    std::u16string unit_text;
    for (const wchar_t* c = wide[index]; *c != L'\0'; ++c) {
      unit_text.push_back(static_cast<char16_t>(*c));
    }
    text = cp1252::FromUtf16(unit_text);
  }
  LocalFree(wide);
  return text;
}

bool StandardErrorIsTerminal() {
  // Only a console has a console mode: a pipe or a file has none.
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

void AdviseLargeBuffer(char* /*data*/, size_t /*size*/) {}
