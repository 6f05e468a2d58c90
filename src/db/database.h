#ifndef KFX_DB_DATABASE_H_
#define KFX_DB_DATABASE_H_

// The connection component: its stored settings, and an ODBC connection to
// the data source named by the alias, opened by the first statement that
// needs it and kept open from one statement to the next.

#include <memory>
#include <string_view>

#include "db/odbc_connection.h"
#include "db/strings_list.h"
#include "text.h"

class TDatabase {
 public:
  TDatabase();
  ~TDatabase();

  Text DatabaseName;
  bool LoginPrompt = false;
  Text SessionName;
  bool KeepConnection = true;

  // The parameter lines ("NAME=value"). Changing them, or the alias, while
  // connected throws EDatabaseError: they take effect on the next open.
  int ParamCount() const { return params_.Count(); }
  const Text& Param(int index) const { return params_.Get(index); }
  void SetParam(int index, std::string_view line);

  const Text& AliasName() const { return alias_name_; }
  void SetAliasName(std::string_view alias);

  bool Connected() const { return connection_.connected(); }
  // Opens the data source named by the alias with the user, password and
  // modes of the parameter lines. Throws EDBEngineError when it cannot.
  void Open();
  void Close() { connection_.Disconnect(); }

  // Runs one statement, opening the connection first when it is closed.
  // Throws EDBEngineError on failure; a connection found lost is closed, so
  // the next statement opens a new one.
  void Execute(std::string_view sql);

 private:
  void CheckClosed() const;

  TStrings params_;
  Text alias_name_;
  OdbcConnection connection_;
};

#endif  // KFX_DB_DATABASE_H_
