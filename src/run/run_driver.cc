#include "run/run_driver.h"

#include <cctype>
#include <string>
#include <string_view>

#include "bookings/input_loader.h"
#include "bookings/statement_builder.h"
#include "config/connection_setup.h"
#include "console.h"
#include "db/data_module.h"
#include "db/db_errors.h"
#include "exit_codes.h"
#include "run/banner.h"
#include "run/platform.h"
#include "run/progress.h"
#include "run/reject_file.h"
#include "run_state.h"

namespace {

struct Tally {
  int written = 0;      // statements the database took
  int not_written = 0;  // bookings that did not reach the table
  bool warned_no_dialect = false;
  RejectFile* rejects = nullptr;  // holds the not_written bookings' records
};

void StoreArguments(int argc, char** argv) {
  SectionName = ArgumentText(argc, argv, 1);
  TerminalName = ArgumentText(argc, argv, 2);
  InputFileName = ArgumentText(argc, argv, 3);
  InputFilePath = ArgumentPath(argc, argv, 3);
  Text debug_switch = ArgumentText(argc, argv, 4);
  for (char& c : debug_switch) {
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  DebugMode = debug_switch == "/D";
}

void PrintFailure(std::string_view statement_text, std::string_view message) {
  Print({"Exception bei Datenbank Open\n", statement_text, message, "\n\n"});
}

// Hands one statement to the query and runs it; a failure is reported and
// the run goes on.
void ExecuteBooking(std::string_view record, const Text& statement,
                    Tally* tally) {
  TQuery& query = dm1->Qry1;
  query.SQL.Clear();
  query.SQL.Add(statement);
  if (const char* reason = RefusalReason(record)) {
    PrintFailure(query.SQL.GetText(), reason);
    ++tally->not_written;
    tally->rejects->Add(record);
    return;
  }
  tally->rejects->Flush();
  try {
    query.ExecSQL();
    ++tally->written;
  } catch (const EDatabaseError& error) {
    PrintFailure(query.SQL.GetText(), error.what());
    ++tally->not_written;
    tally->rejects->Add(record);
  }
}

void TransferBookings(Tally* tally) {
  SequenceNumber = 0;
  Text input;
  if (LoadInputFile(&input) == -1) {
    Warn({"Warnung: Eingabedatei '", InputFileName,
          "' kann nicht gelesen werden"});
    return;
  }
  // The records are cut off the front of a view, not of the text itself, so
  // a large file costs no copying.
  std::string_view rest_text = input;
  Text current_statement;
  StartProgress(input);
  while (rest_text.size() >= kRecordLength) {
    const std::string_view record = rest_text.substr(0, kRecordLength);
    BuildStatement(record, &current_statement);
    if (!current_statement.empty()) {
      ExecuteBooking(record, current_statement, tally);
    } else if (HasBookingCode(record)) {
      ++tally->not_written;
      tally->rejects->Add(record);
      if (!tally->warned_no_dialect) {
        Warn({"Warnung: DB_SYSTEM '", DbSystem,
              "' unbekannt (erwartet ORACLE oder MSSQL): keine Buchung "
              "uebertragen"});
        tally->warned_no_dialect = true;
      }
    }
    rest_text.remove_prefix(kRecordLength);
    if (DebugMode) {
      Print({"  Restlaenge = '", std::to_string(rest_text.size()), "'\n"});
    }
    ShowProgress(tally->written + tally->not_written);
  }
  if (!rest_text.empty()) {
    Warn({"Warnung: ", std::to_string(rest_text.size()),
          " Zeichen am Dateiende sind kein vollstaendiger Satz und wurden "
          "nicht uebertragen"});
  }
}

}  // namespace

int CheckParameters(int argument_count) {
  if (argument_count > 3)
    return 0;
  PrintBanner();
  Print({"Falsche Anzahl Parameter\n"});
  Print({"\n"});
  PrintUsage();
  return kExitWrongArguments;
}

int Run(int argc, char** argv) {
  // Lives until the process ends; the connection is never closed by hand.
  dm1 = new Tdm1();
  StoreArguments(argc, argv);

  int exit_code = LoadDbInfo();
  if (exit_code != 0)
    return exit_code;
  exit_code = CheckParameters(argc);
  if (exit_code != 0)
    return exit_code;

  RejectFile rejects(InputFilePath + ".bad", InputFileName + ".bad");
  Tally tally;
  tally.rejects = &rejects;
  TransferBookings(&tally);
  Print({std::to_string(tally.written), " Saetze kopiert aus Datei ",
         InputFileName, " \n"});
  return tally.not_written > 0 ? kExitNotAllWritten : kExitDone;
}
