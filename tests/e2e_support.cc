#include "e2e_support.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

// Points ODBC and psql at the throwaway cluster, and only at it.
const bool kEnvironmentSet = [] {
  const std::string dir = KFX_TESTDB_DIR;
  ::setenv("ODBCSYSINI", (dir + "/odbc").c_str(), 1);
  ::setenv("ODBCINI", (dir + "/odbc/odbc.ini").c_str(), 1);
  ::setenv("PGHOST", dir.c_str(), 1);
  ::setenv("PGPORT", "54329", 1);
  ::setenv("PGUSER", "vrk", 1);
  ::setenv("PGDATABASE", "vrkdb", 1);
  ::setenv("PGCLIENTENCODING", "UTF8", 1);
  return true;
}();

}  // namespace

WorkDir::WorkDir() {
  static std::atomic<int> counter{0};
  path_ = fs::temp_directory_path() / ("kfx_e2e_" + std::to_string(::getpid()) +
                                       "_" + std::to_string(counter++));
  fs::remove_all(path_);
  fs::create_directories(path_);
}

WorkDir::~WorkDir() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

void WorkDir::Write(const std::string& name, const std::string& content) const {
  std::ofstream(path_ / name, std::ios::binary) << content;
}

std::string SettingsFile(const std::string& data_source,
                         const std::string& system) {
  std::string file =
      ";DHWEB05S;\n1;LOGIN;vrk\n;DHWEB05S;\n2;PASS;vrk\n;DHWEB05S;\n"
      "3;DATABASE;" +
      data_source + "\n";
  if (!system.empty())
    file += ";DHWEB05S;\n4;DB_SYSTEM;" + system + "\n";
  return file;
}

std::string Booking(std::string badge, const std::string& date,
                    const std::string& time, const std::string& reader,
                    char code) {
  badge.resize(13, ' ');
  return badge + date + time + "0" + reader + code;
}

std::string ShellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

std::string ToolCommand(const fs::path& dir,
                        const std::vector<std::string>& args) {
  std::string command =
      "cd " + ShellQuoted(dir.string()) + " && " + ShellQuoted(KFX_TOOL);
  for (const std::string& arg : args)
    command += " " + ShellQuoted(arg);
  return command;
}

std::string FileContent(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

size_t Occurrences(const std::string& text, const std::string& piece) {
  size_t count = 0;
  for (size_t at = text.find(piece); at != std::string::npos;
       at = text.find(piece, at + 1)) {
    ++count;
  }
  return count;
}

ToolRun RunCaptured(const fs::path& dir, const std::string& command) {
  const std::string captured = command + " >.stdout 2>.stderr";
  const int status = std::system(captured.c_str());
  ToolRun run;
  run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.out = FileContent(dir / ".stdout");
  run.err = FileContent(dir / ".stderr");
  return run;
}

ToolRun RunTool(const fs::path& dir, const std::vector<std::string>& args) {
  return RunCaptured(dir, ToolCommand(dir, args));
}

std::string Sql(const std::string& command) {
  const std::string psql =
      "psql -X -q -At -v ON_ERROR_STOP=1 -c " + ShellQuoted(command);
  std::FILE* pipe = ::popen(psql.c_str(), "r");
  EXPECT_NE(nullptr, pipe);
  if (pipe == nullptr)
    return "";
  std::string out;
  char buffer[4096];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
    out.append(buffer, got);
  }
  EXPECT_EQ(0, ::pclose(pipe)) << command;
  return out;
}

int CountOf(const std::string& terminal) {
  return std::stoi(
      Sql("select count(*) from vorkalin.vrk402zpk where "
          "zpktrm = '" +
          terminal + "'"));
}

std::string RowsOf(const std::string& terminal) {
  return Sql(
      "select zpkasw, to_char(zpkdtm, 'YYYY-MM-DD HH24:MI:SS'), "
      "to_char(zpkuhr, 'HH24:MI:SS'), zpkles, zpkzus, zpklfd "
      "from vorkalin.vrk402zpk where zpktrm = '" +
      terminal + "' order by zpklfd");
}
