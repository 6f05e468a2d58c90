#include "fault_support.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <thread>

namespace fs = std::filesystem;

extern char** environ;

namespace {

constexpr size_t kRecord = 29;

std::string Badge(std::string_view record) {
  std::string badge(record.substr(0, 13));
  while (!badge.empty() && badge.back() == ' ')
    badge.pop_back();
  return badge;
}

}  // namespace

ToolProcess::ToolProcess(const fs::path& dir,
                         const std::vector<std::string>& args,
                         const std::string& tag, const std::string& odbc_ini)
    : dir_(dir), tag_(tag) {
  // Everything the child needs is made before the fork: between fork and
  // exec only async-signal-safe calls are allowed.
  std::vector<std::string> arg_texts = {KFX_TOOL};
  arg_texts.insert(arg_texts.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& a : arg_texts)
    argv.push_back(a.data());
  argv.push_back(nullptr);
  std::vector<std::string> env_texts;
  for (char** e = environ; *e != nullptr; ++e) {
    if (odbc_ini.empty() || std::string_view(*e).rfind("ODBCINI=", 0) != 0)
      env_texts.push_back(*e);
  }
  if (!odbc_ini.empty())
    env_texts.push_back("ODBCINI=" + odbc_ini);
  std::vector<char*> envp;
  for (std::string& e : env_texts)
    envp.push_back(e.data());
  envp.push_back(nullptr);
  const std::string dir_text = dir.string();
  const std::string out = (dir / (tag + ".out")).string();
  const std::string err = (dir / (tag + ".err")).string();

  pid_ = ::fork();
  if (pid_ == 0) {
    const int out_fd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err_fd = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (::chdir(dir_text.c_str()) != 0 || out_fd < 0 || err_fd < 0 ||
        ::dup2(out_fd, 1) < 0 || ::dup2(err_fd, 2) < 0) {
      ::_exit(127);
    }
    ::execve(KFX_TOOL, argv.data(), envp.data());
    ::_exit(127);
  }
  EXPECT_GT(pid_, 0) << "fork failed";
}

ToolProcess::~ToolProcess() {
  // A test that failed half way must not leave its run behind.
  if (pid_ > 0) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
}

void ToolProcess::Pause() const {
  ::kill(pid_, SIGSTOP);
}

void ToolProcess::Resume() const {
  ::kill(pid_, SIGCONT);
}

ToolRun ToolProcess::Wait() {
  ToolRun run;
  int status = 0;
  while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
  }
  pid_ = -1;
  run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.out = FileContent(dir_ / (tag_ + ".out"));
  run.err = FileContent(dir_ / (tag_ + ".err"));
  return run;
}

void TestDb(const std::string& action) {
  const std::string command = ShellQuoted(KFX_TESTDB_SCRIPT) + " " + action +
                              " " + ShellQuoted(KFX_TESTDB_DIR);
  ASSERT_EQ(0, std::system(command.c_str())) << command;
}

void KillServer() {
  std::ifstream pid_file(fs::path(KFX_TESTDB_DIR) / "data" / "postmaster.pid");
  pid_t pid = 0;
  pid_file >> pid;
  ASSERT_GT(pid, 0);
  ASSERT_EQ(0, ::kill(pid, SIGKILL));
}

bool WaitForRows(const std::string& terminal, int rows, int seconds) {
  const auto end =
      std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (CountOf(terminal) < rows) {
    if (std::chrono::steady_clock::now() > end)
      return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

std::string NumberedBookings(int count) {
  std::string input;
  input.reserve(count * kRecord);
  for (int i = 1; i <= count; ++i) {
    char badge[16];
    std::snprintf(badge, sizeof badge, "B%05d", i);
    input += Booking(badge, "150306", "073015", "03", '1');
  }
  return input;
}

std::string SettingsWithLogin(const std::string& login,
                              const std::string& password,
                              const std::string& data_source,
                              const std::string& system) {
  return ";DHWEB05S;\n1;LOGIN;" + login + "\n;DHWEB05S;\n2;PASS;" + password +
         "\n;DHWEB05S;\n3;DATABASE;" + data_source +
         "\n;DHWEB05S;\n4;DB_SYSTEM;" + system + "\n";
}

size_t ExpectEveryBookingAccountedFor(const std::string& input,
                                      const fs::path& input_path,
                                      const std::string& terminal,
                                      const ToolRun& run) {
  std::multiset<std::string> in_table;
  std::istringstream rows(
      Sql("select zpkasw from vorkalin.vrk402zpk where zpktrm = '" + terminal +
          "'"));
  for (std::string badge; std::getline(rows, badge);)
    in_table.insert(badge);

  const std::string rejects = FileContent(input_path.string() + ".bad");
  EXPECT_EQ(0u, rejects.size() % kRecord);
  std::multiset<std::string> rejected;
  for (size_t at = 0; at + kRecord <= rejects.size(); at += kRecord)
    rejected.insert(Badge(std::string_view(rejects).substr(at, kRecord)));

  const size_t reported =
      Occurrences(run.out, "Exception bei Datenbank Open\n");
  EXPECT_EQ(reported, rejected.size()) << run.err;
  size_t lost = 0;
  size_t twice = 0;
  for (size_t at = 0; at + kRecord <= input.size(); at += kRecord) {
    const std::string badge =
        Badge(std::string_view(input).substr(at, kRecord));
    const size_t found = in_table.count(badge) + rejected.count(badge);
    lost += found == 0;
    twice += found > 1;
  }
  EXPECT_EQ(0u, lost) << "bookings neither in the table nor reported";
  EXPECT_EQ(0u, twice) << "bookings in the table and reported, or twice";
  EXPECT_EQ(input.size() / kRecord, in_table.size() + rejected.size());
  EXPECT_EQ(reported == 0 ? 0 : 2, run.exit_code) << run.err;
  EXPECT_TRUE(run.out.ends_with(std::to_string(in_table.size()) +
                                " Saetze kopiert aus Datei " +
                                input_path.filename().string() + " \n"))
      << run.out.substr(run.out.size() > 300 ? run.out.size() - 300 : 0);
  if (reported > 0) {
    EXPECT_NE(std::string::npos,
              run.err.find("Warnung: " + std::to_string(reported) +
                           " Buchungen nicht geschrieben, gesichert in '" +
                           input_path.filename().string() + ".bad'\n"))
        << run.err;
  }
  return reported;
}
