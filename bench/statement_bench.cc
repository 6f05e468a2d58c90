// The program's own work per booking, with the database left out: building
// the statement alone, and building it and handing it through the query to
// a connection that only counts.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "allocation_count.h"
#include "booking_mix.h"
#include "bookings/statement_builder.h"
#include "db/data_module.h"
#include "run_state.h"
#include "sink_connection.h"

namespace {

const std::vector<std::string>& Records() {
  static const std::vector<std::string> records = BookingMix(1000);
  return records;
}

void SetUpRun(const char* db_system) {
  DebugMode = false;
  TerminalName = "ZutCtrl";
  DbSystem = db_system;
  SequenceNumber = 0;
}

void BM_BuildStatement(benchmark::State& state, const char* db_system) {
  SetUpRun(db_system);
  Text statement;
  size_t statements = 0;
  size_t bytes = 0;
  const size_t allocations_before = AllocationCount();
  for (auto _ : state) {
    for (const std::string& record : Records()) {
      BuildStatement(record, &statement);
      statements += !statement.empty();
      bytes += statement.size();
    }
    benchmark::DoNotOptimize(statement.data());
  }
  state.counters["allocs_per_record"] =
      static_cast<double>(AllocationCount() - allocations_before) /
      static_cast<double>(Records().size() * state.iterations());
  state.SetItemsProcessed(static_cast<int64_t>(statements));
  state.SetBytesProcessed(static_cast<int64_t>(bytes));
}
BENCHMARK_CAPTURE(BM_BuildStatement, Oracle, "ORACLE");
BENCHMARK_CAPTURE(BM_BuildStatement, SqlServer, "MSSQL");

// What the record loop does for every booking once the input is loaded.
void BM_BuildAndExecute(benchmark::State& state, const char* db_system) {
  SetUpRun(db_system);
  static Tdm1* module = new Tdm1();
  dm1 = module;
  ResetSinkConnection();
  TQuery& query = dm1->Qry1;
  Text statement;
  size_t records = 0;
  const size_t allocations_before = AllocationCount();
  for (auto _ : state) {
    for (const std::string& record : Records()) {
      BuildStatement(record, &statement);
      if (!statement.empty()) {
        query.SQL.Clear();
        query.SQL.Add(statement);
        query.ExecSQL();
      }
    }
    records += Records().size();
  }
  state.counters["allocs_per_record"] =
      static_cast<double>(AllocationCount() - allocations_before) /
      static_cast<double>(records);
  if (SinkConnectionTotals().statements !=
      BookingsIn(Records()) * state.iterations()) {
    state.SkipWithError("the sink did not get every statement");
  }
  state.SetItemsProcessed(static_cast<int64_t>(records));
  state.SetBytesProcessed(static_cast<int64_t>(SinkConnectionTotals().bytes));
}
BENCHMARK_CAPTURE(BM_BuildAndExecute, Oracle, "ORACLE");
BENCHMARK_CAPTURE(BM_BuildAndExecute, SqlServer, "MSSQL");

}  // namespace
