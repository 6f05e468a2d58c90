// Input: one byte of switches, then the bytes of a booking file. The low two
// bits of the switch byte choose the database system in the settings file
// (ORACLE, MSSQL, one the tool does not know, or none at all), bit 2 adds
// "/D".
//
// The whole run goes through, with a connection that takes every statement
// and counts it. Every booking must reach that connection exactly once or,
// when it was refused or named no known dialect, stand in the reject file;
// and the exit code must say whether all of them reached the connection.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bookings/statement_builder.h"
#include "db/data_module.h"
#include "db/param_scanner.h"
#include "exit_codes.h"
#include "fuzz_check.h"
#include "run/platform.h"
#include "run/run_driver.h"
#include "run_state.h"
#include "sink_connection.h"

namespace fs = std::filesystem;

namespace {

// The empty one leaves DB_SYSTEM out of the settings file.
constexpr std::string_view kSystems[] = {"ORACLE", "MSSQL", "oracle", ""};

fs::path scratch_dir;

void RemoveScratchDir() {
  std::error_code ignored;
  fs::remove_all(scratch_dir, ignored);
}

fs::path FolderFor(size_t system) {
  return scratch_dir / std::to_string(system);
}

void WriteFile(const fs::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  Require(static_cast<bool>(out), "the scratch folder can be written");
}

// The bookings that must reach the database: those with a code whose
// statement exists, is not refused and holds no parameter. The records of
// the other bookings go to *rejected.
size_t SendableBookings(std::string_view file, size_t* bookings,
                        std::string* rejected) {
  SequenceNumber = 0;
  DebugMode = false;
  size_t sendable = 0;
  Text statement;
  Text to_send;
  for (; file.size() >= kRecordLength; file.remove_prefix(kRecordLength)) {
    const std::string_view record = file.substr(0, kRecordLength);
    if (!HasBookingCode(record))
      continue;
    ++*bookings;
    BuildStatement(record, &statement);
    if (!statement.empty() && RefusalReason(record) == nullptr &&
        !ScanParameters(statement, &to_send)) {
      ++sendable;
    } else {
      rejected->append(record);
    }
  }
  return sendable;
}

// The file's bytes, or nothing when there is no such file.
std::optional<std::string> ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in)
    return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
  InitPlatform();
  std::string name = (fs::temp_directory_path() / "kfx-run-fuzzer-XXXXXX");
  Require(mkdtemp(name.data()) != nullptr, "a scratch folder can be made");
  scratch_dir = name;
  std::atexit(RemoveScratchDir);
  for (size_t system = 0; system < std::size(kSystems); ++system) {
    std::string settings =
        ";DHWEB05S;\n1;LOGIN;vrk\n;DHWEB05S;\n2;PASS;secret\n"
        ";DHWEB05S;\n3;DATABASE;ZUTDB\n";
    if (!kSystems[system].empty()) {
      settings +=
          ";DHWEB05S;\n4;DB_SYSTEM;" + std::string(kSystems[system]) + "\n";
    }
    fs::create_directory(FolderFor(system));
    WriteFile(FolderFor(system) / "DHWEB05S.TXT", settings);
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1)
    return 0;
  const size_t system = data[0] & 3;
  const bool debug = (data[0] & 4) != 0;
  const std::string_view file(reinterpret_cast<const char*>(data) + 1,
                              size - 1);
  const std::string input_path = (FolderFor(system) / "bookings.txt").string();
  const std::string reject_path = input_path + ".bad";
  WriteFile(input_path, file);
  fs::remove(reject_path);

  std::vector<std::string> args = {"Kfx28M4RBV", "DHWEB71S", "ZutCtrl",
                                   input_path};
  if (debug)
    args.push_back("/d");
  std::vector<char*> argv;
  for (std::string& arg : args)
    argv.push_back(arg.data());
  argv.push_back(nullptr);

  // Every run makes its own data module, as a process does once.
  delete dm1;
  dm1 = nullptr;
  ResetSinkConnection();
  const int exit_code = Run(static_cast<int>(args.size()), argv.data());
  const SinkTotals totals = SinkConnectionTotals();

  const std::optional<std::string> reject_file = ReadFile(reject_path);
  if (kSystems[system].empty()) {
    Require(
        exit_code == kExitNoSettings && totals.statements == 0 && !reject_file,
        "incomplete settings end the run before any booking");
    return 0;
  }
  size_t bookings = 0;
  std::string rejected;
  const size_t sendable = SendableBookings(file, &bookings, &rejected);
  Require(totals.statements == sendable,
          "every sendable booking reaches the database exactly once");
  Require(totals.opens == (sendable > 0 ? 1u : 0u),
          "the connection opens once, when the first booking needs it");
  Require(exit_code == (sendable == bookings ? kExitDone : kExitNotAllWritten),
          "the exit code says whether every booking was written");
  Require(rejected.empty() ? !reject_file : reject_file == rejected,
          "the reject file holds exactly the bookings not written, and "
          "exists only when there are some");
  return 0;
}
