#ifndef KFX_DB_QUERY_H_
#define KFX_DB_QUERY_H_

// The query component: a statement text of one or more lines, run on the
// connection of the same database name.

#include "db/database.h"
#include "db/strings_list.h"
#include "text.h"

class TQuery {
 public:
  explicit TQuery(TDatabase* database);

  Text DatabaseName;
  bool ParamCheck = true;
  TStrings SQL;

  // Runs the statement text as a statement without a result set. Throws
  // EDatabaseError when it holds a parameter (none can be given a value
  // here) and EDBEngineError when the database refuses it.
  void ExecSQL();

 private:
  TDatabase* database_;
  Text joined_;   // reused from one statement to the next
  Text to_send_;  // reused from one statement to the next
};

#endif  // KFX_DB_QUERY_H_
