// Input: one byte choosing the database system (ORACLE, MSSQL or one the
// builder does not know), two bytes for the running number before the
// record, the 29 bytes of the record, and the terminal name.
//
// Whatever the record holds, a statement that is not refused must keep
// every value inside its literal: the quotes balance, nothing outside a
// literal opens a comment or a quoted identifier, the literals are the
// dialect's own, and the terminal name and running number come out intact.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "bookings/statement_builder.h"
#include "fuzz_check.h"
#include "run_state.h"
#include "text.h"

namespace {

constexpr std::string_view kSystems[] = {"ORACLE", "MSSQL", "oracle"};

// The literals of the Oracle statement: terminal, badge, date, its format,
// time, its format, running number. Of the SQL Server statement: terminal,
// date, first of the month, time, badge, running number.
constexpr size_t kOracleLiterals = 7;
constexpr size_t kMssqlLiterals = 6;

struct Lexed {
  std::vector<Text> literals;  // contents, doubled quotes made single
  bool literal_left_open = false;
  bool opener_outside_literals = false;
};

// Reads the statement the way the database will: '...' literals with ''
// inside them, and everything else as SQL.
Lexed Lex(std::string_view sql) {
  Lexed lexed;
  for (size_t i = 0; i < sql.size(); ++i) {
    if (sql[i] == '\'') {
      Text literal;
      size_t j = i + 1;
      for (;; ++j) {
        if (j == sql.size()) {
          lexed.literal_left_open = true;
          return lexed;
        }
        if (sql[j] == '\'') {
          if (j + 1 < sql.size() && sql[j + 1] == '\'') {
            literal.push_back('\'');
            ++j;
            continue;
          }
          break;
        }
        literal.push_back(sql[j]);
      }
      lexed.literals.push_back(literal);
      i = j;
      continue;
    }
    const std::string_view here = sql.substr(i, 2);
    if (sql[i] == '"' || sql[i] == '`' || sql[i] == '[' || here == "--" ||
        here == "/*") {
      lexed.opener_outside_literals = true;
    }
  }
  return lexed;
}

void CheckStatement(std::string_view record, std::string_view system,
                    const Text& statement) {
  const Lexed lexed = Lex(statement);
  Require(!lexed.literal_left_open, "every literal is closed");
  Require(!lexed.opener_outside_literals,
          "no comment or quoted identifier opens outside literals");
  Require(lexed.literals.size() ==
              (system == "ORACLE" ? kOracleLiterals : kMssqlLiterals),
          "the literals are the dialect's own");
  Require(lexed.literals.front() == TerminalName,
          "the terminal name is one literal");
  Text number;
  AppendZeroPadded(&number, SequenceNumber, 3);
  Require(lexed.literals.back() == number,
          "the running number is the last literal");
  const size_t badge = system == "ORACLE" ? 1 : 4;
  Require(lexed.literals[badge] == TrimRight(record.substr(0, 13)),
          "the badge is one literal");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3)
    return 0;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::string_view system = kSystems[data[0] % 3];
  const int number_before = (data[1] << 8 | data[2]) % 1000;
  const std::string_view record = input.substr(3, kRecordLength);
  DbSystem = Text(system);
  TerminalName = Text(input.substr(3 + record.size()));
  DebugMode = false;
  SequenceNumber = number_before;

  Text statement = "left over from the record before";
  BuildStatement(record, &statement);

  const bool has_code = record.size() == kRecordLength && record[28] != ' ';
  Require(HasBookingCode(record) == has_code,
          "a booking is a full record with a code that is not blank");
  if (!has_code) {
    Require(statement.empty() && SequenceNumber == number_before,
            "a record without booking yields nothing and keeps the number");
    return 0;
  }
  Require(SequenceNumber == number_before % 999 + 1,
          "every booking advances the running number, 1 to 999");
  if (system != "ORACLE" && system != "MSSQL") {
    Require(statement.empty(), "an unknown dialect yields nothing");
    return 0;
  }
  Require(!statement.empty(), "a booking in a known dialect yields SQL");
  if (RefusalReason(record) == nullptr)
    CheckStatement(record, system, statement);
  return 0;
}
