#ifndef KFX_DB_ODBC_CONNECTION_H_
#define KFX_DB_ODBC_CONNECTION_H_

// One ODBC connection with one statement handle, through the driver
// manager's wide (UTF-16) entry points, so that Windows-1252 texts reach the
// database as the characters they mean. The only place that sees the ODBC
// headers.

#include <string>
#include <string_view>

#include "text.h"

struct ConnectSettings {
  Text data_source;
  Text user;
  Text password;
  bool read_only = false;
  bool autocommit = true;
};

// How long a connection attempt may wait for the server before it fails.
// Without it a server that accepts and never answers blocks the run.
inline constexpr int kLoginTimeoutSeconds = 15;

class OdbcConnection {
 public:
  OdbcConnection() = default;
  OdbcConnection(const OdbcConnection&) = delete;
  OdbcConnection& operator=(const OdbcConnection&) = delete;
  ~OdbcConnection() { Disconnect(); }

  // Returns false and sets *error to the driver's diagnostics when the data
  // source cannot be opened; the connection then stays closed.
  bool Connect(const ConnectSettings& settings, Text* error);

  // Runs one statement that returns no rows and commits it. Returns false
  // and sets *error when it failed. *connection_lost tells, either way,
  // whether the connection is gone: the caller then drops it and opens a
  // new one for the next statement.
  bool Execute(std::string_view sql, Text* error, bool* connection_lost);

  void Disconnect();
  bool connected() const { return dbc_ != nullptr; }

 private:
  bool IsDead() const;

  void* dbc_ = nullptr;   // SQLHDBC
  void* stmt_ = nullptr;  // SQLHSTMT
  bool autocommit_ = true;
  std::u16string wide_sql_;  // reused from one statement to the next
};

#endif  // KFX_DB_ODBC_CONNECTION_H_
