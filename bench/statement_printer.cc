// Prints the statements the tool makes of a booking file, one a line, so
// that other clients can be timed on exactly the same work.
//
//   kfx_statements TERMINAL ORACLE|MSSQL FILE

#include <cstdio>
#include <string_view>

#include "bookings/input_loader.h"
#include "bookings/statement_builder.h"
#include "run_state.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s TERMINAL ORACLE|MSSQL FILE\n", argv[0]);
    return 2;
  }
  TerminalName = argv[1];
  DbSystem = argv[2];
  InputFilePath = argv[3];
  Text input;
  if (LoadInputFile(&input) != 0) {
    std::fprintf(stderr, "%s: cannot read %s\n", argv[0], argv[3]);
    return 1;
  }
  Text statement;
  for (std::string_view rest = input; rest.size() >= kRecordLength;
       rest.remove_prefix(kRecordLength)) {
    BuildStatement(rest.substr(0, kRecordLength), &statement);
    if (statement.empty())
      continue;
    statement.push_back('\n');
    std::fwrite(statement.data(), 1, statement.size(), stdout);
  }
  return std::fflush(stdout) == 0 ? 0 : 1;
}
