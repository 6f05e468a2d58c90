#include <fcntl.h>
#include <langinfo.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <clocale>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <optional>

#include "console.h"
#include "cp1252.h"
#include "run/platform.h"

const std::string_view kDirectorySeparators = "\\:/";

namespace {

// Decodes UTF-8; nothing when `text` is not valid UTF-8 (overlong forms,
// surrogates and code points past U+10FFFF included).
std::optional<Text> FromUtf8(std::string_view text) {
  Text out;
  for (size_t i = 0; i < text.size();) {
    const unsigned char lead = text[i];
    int extra = -1;  // continuation bytes behind the lead byte
    char32_t smallest = 0;
    if (lead < 0x80) {
      extra = 0;
    } else if (lead >= 0xC2 && lead < 0xE0) {
      extra = 1;
      smallest = 0x80;
    } else if (lead >= 0xE0 && lead < 0xF0) {
      extra = 2;
      smallest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      extra = 3;
      smallest = 0x10000;
    }
    if (extra < 0 || i + extra >= text.size())
      return std::nullopt;
    char32_t code = extra == 0 ? lead : lead & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
      const unsigned char next = text[i + k];
      if ((next & 0xC0) != 0x80)
        return std::nullopt;
      code = (code << 6) | (next & 0x3F);
    }
    if (code < smallest || code > 0x10FFFF ||
        (code >= 0xD800 && code <= 0xDFFF)) {
      return std::nullopt;
    }
    out.push_back(cp1252::FromCodePoint(code));
    i += extra + 1;
  }
  return out;
}

// Decodes in the locale's multibyte encoding; nothing when that fails.
std::optional<Text> FromLocale(const char* arg) {
  std::mbstate_t state{};
  const char* source = arg;
  const size_t length = std::mbsrtowcs(nullptr, &source, 0, &state);
  if (length == static_cast<size_t>(-1))
    return std::nullopt;
  std::wstring wide(length, L'\0');
  source = arg;
  state = {};
  std::mbsrtowcs(wide.data(), &source, length, &state);
  Text out;
  for (wchar_t c : wide)
    out.push_back(cp1252::FromCodePoint(c));
  return out;
}

bool LocaleIsUtf8OrPlain() {
  const char* codeset = nl_langinfo(CODESET);
  return std::strcmp(codeset, "UTF-8") == 0 ||
         std::strcmp(codeset, "ANSI_X3.4-1968") == 0;
}

}  // namespace

std::string ArgumentPath(int argc, char** argv, int index) {
  return index < argc ? std::string(argv[index]) : std::string();
}

FilePtr OpenForReading(const std::string& path) {
  return FilePtr(std::fopen(path.c_str(), "rb"));
}

FilePtr CreateForWriting(const std::string& path) {
  FilePtr file(std::fopen(path.c_str(), "wb"));
  if (file)
    std::setvbuf(file.get(), nullptr, _IONBF, 0);
  return file;
}

bool TruncateFile(std::FILE* file, std::uint64_t size) {
  return ftruncate(fileno(file), static_cast<off_t>(size)) == 0;
}

size_t RegularFileSize(std::FILE* file) {
  struct stat status;
  if (fstat(fileno(file), &status) != 0 || !S_ISREG(status.st_mode))
    return 0;
  return static_cast<size_t>(status.st_size);
}

void WriteStandardOutput(std::string_view bytes) {
  std::fwrite(bytes.data(), 1, bytes.size(), stdout);
}

void InitPlatform() {
  std::setlocale(LC_CTYPE, "");
  // A reader of standard output that goes away must not end the run half
  // way: the bookings still go to the database, only the text is lost.
  std::signal(SIGPIPE, SIG_IGN);
  // A closed standard stream would be taken by the next file or socket the
  // run opens, and console text would end up there.
  for (int fd = 0; fd <= 2; ++fd) {
    if (fcntl(fd, F_GETFD) == -1) {
      const int null_fd = open("/dev/null", O_RDWR);
      if (null_fd != fd && null_fd >= 0)
        close(null_fd);
    }
  }
}

Text ArgumentText(int argc, char** argv, int index) {
  if (index >= argc)
    return Text();
  const char* arg = argv[index];
  // Under the plain C locale the arguments still usually come as UTF-8 from
  // the terminal or the calling script. Bytes that decode in no encoding are
  // taken as Windows-1252 already.
  std::optional<Text> text =
      LocaleIsUtf8OrPlain() ? FromUtf8(arg) : FromLocale(arg);
  return text ? *text : Text(arg);
}

bool StandardErrorIsTerminal() {
  return isatty(STDERR_FILENO) == 1;
}

void AdviseLargeBuffer(char* data, size_t size) {
  // A buffer the size of a large booking file is otherwise faulted in 4 KB
  // at a time, which costs more than reading the file; in huge pages it
  // takes a few hundred faults. Small buffers are left alone.
  constexpr size_t kWorthIt = size_t{4} << 20;
  if (size < kWorthIt)
    return;
  const uintptr_t page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
  const uintptr_t begin =
      (reinterpret_cast<uintptr_t>(data) + page - 1) & ~(page - 1);
  const uintptr_t end =
      (reinterpret_cast<uintptr_t>(data) + size) & ~(page - 1);
#ifdef MADV_HUGEPAGE
  if (end > begin)
    madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#endif
}
