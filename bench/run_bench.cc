// The whole program with the database left out: settings, loading, the
// record loop over 1,000,000 records and the summary, on a file that lies in
// memory (a tmpfs where there is one, else in the page cache after the first
// pass).

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "booking_mix.h"
#include "run/run_driver.h"
#include "sink_connection.h"

namespace fs = std::filesystem;

namespace {

constexpr size_t kRecords = 1'000'000;

fs::path ScratchFolder() {
  const fs::path shm = "/dev/shm";
  const fs::path base = fs::is_directory(shm) ? shm : fs::temp_directory_path();
  return base / ("kfx_bench_" + std::to_string(::getpid()));
}

// The summary line would land among the benchmark's own report.
class StdoutSilenced {
 public:
  StdoutSilenced() : saved_(::dup(1)) {
    std::fflush(stdout);
    const int null_fd = ::open("/dev/null", O_WRONLY);
    ::dup2(null_fd, 1);
    ::close(null_fd);
  }
  ~StdoutSilenced() {
    std::fflush(stdout);
    ::dup2(saved_, 1);
    ::close(saved_);
  }

 private:
  int saved_;
};

void BM_WholeRun(benchmark::State& state, const char* db_system) {
  const fs::path folder = ScratchFolder();
  fs::create_directories(folder);
  const std::vector<std::string> records = BookingMix(kRecords);
  {
    std::ofstream input(folder / "bookings.txt", std::ios::binary);
    for (const std::string& record : records)
      input << record;
    std::ofstream(folder / "DHWEB05S.TXT", std::ios::binary)
        << ";DHWEB05S;\n1;LOGIN;vrk\n;DHWEB05S;\n2;PASS;vrk\n;DHWEB05S;\n"
           "3;DATABASE;SINK\n;DHWEB05S;\n4;DB_SYSTEM;"
        << db_system << "\n";
  }
  std::string input_path = (folder / "bookings.txt").string();
  char* argv[] = {const_cast<char*>("Kfx28M4RBV"),
                  const_cast<char*>("DHWEB71S"), const_cast<char*>("ZutCtrl"),
                  input_path.data(), nullptr};
  int exit_code = 0;
  for (auto _ : state) {
    ResetSinkConnection();
    StdoutSilenced silenced;
    // Each run makes its data module, as the program does once.
    exit_code = Run(4, argv);
  }
  fs::remove_all(folder);
  if (exit_code != 0 ||
      SinkConnectionTotals().statements != BookingsIn(records)) {
    state.SkipWithError("the run did not hand every booking to the sink");
  }
  state.SetItemsProcessed(static_cast<int64_t>(kRecords * state.iterations()));
}
BENCHMARK_CAPTURE(BM_WholeRun, Oracle, "ORACLE")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WholeRun, SqlServer, "MSSQL")
    ->Unit(benchmark::kMillisecond);

}  // namespace
