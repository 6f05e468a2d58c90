#include "db/query.h"

#include <optional>

#include "db/db_errors.h"
#include "db/param_scanner.h"

TQuery::TQuery(TDatabase* database)
    : DatabaseName(database->DatabaseName), database_(database) {}

void TQuery::ExecSQL() {
  // The run puts one line per statement: that line is the statement as it
  // stands, with nothing to join.
  std::string_view sql;
  if (SQL.Count() == 1) {
    sql = SQL.Get(0);
  } else {
    joined_.clear();
    for (int i = 0; i < SQL.Count(); ++i) {
      if (i > 0)
        joined_.append("\r\n");
      joined_.append(SQL.Get(i));
    }
    sql = joined_;
  }
  // With every colon inside a literal there is neither a parameter nor a
  // doubled colon: the text goes as it is, uncopied.
  if (!ParamCheck || ColonsOnlyInLiterals(sql)) {
    database_->Execute(sql);
    return;
  }
  // The text is scanned here rather than on every change to it: the result
  // is the same, since nothing reads the parameters in between.
  if (std::optional<Text> name = ScanParameters(sql, &to_send_)) {
    throw EDatabaseError("Parameter '" + *name +
                         "' ohne Wert: Anweisung nicht ausgefuehrt");
  }
  database_->Execute(to_send_);
}
