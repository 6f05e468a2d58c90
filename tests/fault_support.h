#ifndef KFX_TESTS_FAULT_SUPPORT_H_
#define KFX_TESTS_FAULT_SUPPORT_H_

// What the fault tests do beside the tool: run it in the background, act on
// the server under it, and check that every booking is accounted for.

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

#include "e2e_support.h"

// A run of the tool that goes on while the test acts on the server. Its
// standard output and error go to files in `dir` named after `tag`.
class ToolProcess {
 public:
  // `odbc_ini`, when not empty, replaces the data sources of the cluster.
  ToolProcess(const std::filesystem::path& dir,
              const std::vector<std::string>& args,
              const std::string& tag = "run", const std::string& odbc_ini = "");
  ~ToolProcess();
  ToolProcess(const ToolProcess&) = delete;
  ToolProcess& operator=(const ToolProcess&) = delete;

  // Stops and continues the process (SIGSTOP, SIGCONT).
  void Pause() const;
  void Resume() const;
  // Waits for the end of the run.
  ToolRun Wait();

 private:
  std::filesystem::path dir_;
  std::string tag_;
  pid_t pid_ = -1;
};

// Runs `scripts/testdb ACTION` on the test cluster (down, up).
void TestDb(const std::string& action);

// Kills the cluster's server process with SIGKILL, as a crash would.
void KillServer();

// Waits until the terminal has at least `rows` rows, or `seconds` passed.
bool WaitForRows(const std::string& terminal, int rows, int seconds);

// `count` bookings with the badges B00001, B00002, ...
std::string NumberedBookings(int count);

// Settings pairs for the four keys with the given login.
std::string SettingsWithLogin(const std::string& login,
                              const std::string& password,
                              const std::string& data_source,
                              const std::string& system);

// The promise of a run: each booking of `input` is in the table of
// `terminal` once, or else reported on standard output and in the reject
// file beside the input, never both; the exit code says whether any was not
// written. Returns the number of bookings reported.
size_t ExpectEveryBookingAccountedFor(const std::string& input,
                                      const std::filesystem::path& input_path,
                                      const std::string& terminal,
                                      const ToolRun& run);

#endif  // KFX_TESTS_FAULT_SUPPORT_H_
