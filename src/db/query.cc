#include "db/query.h"

#include <optional>

#include "db/db_errors.h"
#include "db/param_scanner.h"

TQuery::TQuery(TDatabase* database)
    : DatabaseName(database->DatabaseName), database_(database) {}

void TQuery::ExecSQL() {
  joined_.clear();
  for (int i = 0; i < SQL.Count(); ++i) {
    if (i > 0)
      joined_.append("\r\n");
    joined_.append(SQL.Get(i));
  }
  if (!ParamCheck) {
    database_->Execute(joined_);
    return;
  }
  // The text is scanned here rather than on every change to it: the result
  // is the same, since nothing reads the parameters in between.
  if (std::optional<Text> name = ScanParameters(joined_, &to_send_)) {
    throw EDatabaseError("Parameter '" + *name +
                         "' ohne Wert: Anweisung nicht ausgefuehrt");
  }
  database_->Execute(to_send_);
}
