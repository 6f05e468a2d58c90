#ifndef KFX_TESTS_E2E_SUPPORT_H_
#define KFX_TESTS_E2E_SUPPORT_H_

// Runs the built tool in a folder of its own against the throwaway database
// that the test fixture started (its ODBC and PG* settings come from the
// environment), and reads the table back with psql.

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

struct ToolRun {
  std::string out;
  std::string err;
  int exit_code = -1;
};

// A fresh, empty folder for one test; removed by the destructor.
class WorkDir {
 public:
  WorkDir();
  ~WorkDir();
  const std::filesystem::path& path() const { return path_; }
  void Write(const std::string& name, const std::string& content) const;

 private:
  std::filesystem::path path_;
};

// Settings pairs for the four keys; `system` empty leaves DB_SYSTEM out.
std::string SettingsFile(const std::string& data_source,
                         const std::string& system);

// One 29-byte record: badge padded to 13, date, time, '0', reader, code.
std::string Booking(std::string badge, const std::string& date,
                    const std::string& time, const std::string& reader,
                    char code);

// The shell command that runs the tool with `args` in `dir`, without
// redirections.
std::string ToolCommand(const std::filesystem::path& dir,
                        const std::vector<std::string>& args);

// Runs a shell command that starts in `dir` (as ToolCommand does), its
// standard output and error caught in files there.
ToolRun RunCaptured(const std::filesystem::path& dir,
                    const std::string& command);

// Runs the tool with `args` (as given on a command line) in `dir`.
ToolRun RunTool(const std::filesystem::path& dir,
                const std::vector<std::string>& args);

// Runs one SQL command with psql; the rows, one per line, fields by "|".
std::string Sql(const std::string& command);

// The number of rows of one terminal.
int CountOf(const std::string& terminal);

// The rows of one terminal as "asw|date|time|les|zus|lfd", by lfd.
std::string RowsOf(const std::string& terminal);

// A file's bytes; empty when it cannot be read.
std::string FileContent(const std::filesystem::path& path);

// How often `piece` occurs in `text`.
size_t Occurrences(const std::string& text, const std::string& piece);

// Quoted for the shell.
std::string ShellQuoted(const std::string& text);

#endif  // KFX_TESTS_E2E_SUPPORT_H_
