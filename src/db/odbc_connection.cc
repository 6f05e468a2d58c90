#include "db/odbc_connection.h"

#ifdef _WIN32
#include <windows.h>
#endif
#include <sql.h>
#include <sqlext.h>

#include <algorithm>
#include <climits>
#include <vector>

#include "cp1252.h"

namespace {

struct Diagnostic {
  std::u16string state;
  std::u16string text;
};

SQLWCHAR* Wide(std::u16string& text) {
  return reinterpret_cast<SQLWCHAR*>(text.data());
}

SQLSMALLINT ShortLength(const std::u16string& text) {
  return static_cast<SQLSMALLINT>(std::min<size_t>(text.size(), SHRT_MAX));
}

std::vector<Diagnostic> ReadDiagnostics(SQLSMALLINT type, SQLHANDLE handle) {
  std::vector<Diagnostic> records;
  for (SQLSMALLINT i = 1;; ++i) {
    Diagnostic record;
    record.state.resize(6);
    record.text.resize(512);
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    SQLRETURN rc =
        SQLGetDiagRecW(type, handle, i, Wide(record.state), &native,
                       Wide(record.text), ShortLength(record.text), &length);
    if (rc == SQL_SUCCESS_WITH_INFO && length >= ShortLength(record.text)) {
      // The message did not fit: ask again with room for all of it.
      record.text.resize(length + 1);
      rc = SQLGetDiagRecW(type, handle, i, Wide(record.state), &native,
                          Wide(record.text), ShortLength(record.text), &length);
    }
    if (!SQL_SUCCEEDED(rc))
      break;
    record.state.resize(5);
    record.text.resize(std::min<size_t>(length, record.text.size()));
    records.push_back(std::move(record));
  }
  return records;
}

// "SQLSTATE xxxxx: text" for every record, one per line.
Text DescribeDiagnostics(const std::vector<Diagnostic>& records, SQLRETURN rc) {
  if (records.empty()) {
    return "ODBC-Fehler ohne Diagnose (Rueckgabewert " + std::to_string(rc) +
           ")";
  }
  Text message;
  for (const Diagnostic& record : records) {
    if (!message.empty())
      message.push_back('\n');
    message += "SQLSTATE " + cp1252::FromUtf16(record.state) + ": " +
               cp1252::FromUtf16(record.text);
  }
  return message;
}

// Class 08 is a connection exception; 57P01 is the server terminating the
// session (administrator command or shutdown).
bool MeansConnectionLost(const std::vector<Diagnostic>& records) {
  return std::any_of(records.begin(), records.end(), [](const Diagnostic& d) {
    return d.state.starts_with(u"08") || d.state == u"57P01";
  });
}

SQLHENV Environment() {
  // One environment for the life of the process; never freed.
  static SQLHENV env = [] {
    SQLHENV handle = SQL_NULL_HENV;
    if (SQL_SUCCEEDED(
            SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &handle))) {
      SQLSetEnvAttr(handle, SQL_ATTR_ODBC_VERSION,
                    reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    }
    return handle;
  }();
  return env;
}

SQLPOINTER IntegerAttribute(SQLULEN value) {
  return reinterpret_cast<SQLPOINTER>(value);
}

}  // namespace

bool OdbcConnection::Connect(const ConnectSettings& settings, Text* error) {
  Disconnect();
  SQLHENV env = Environment();
  SQLHDBC dbc = SQL_NULL_HDBC;
  if (env == SQL_NULL_HENV ||
      !SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc))) {
    *error = "ODBC-Treibermanager nicht verfuegbar";
    return false;
  }
  // Both are hints a driver may decline; the connection attempt decides.
  SQLSetConnectAttr(dbc, SQL_ATTR_LOGIN_TIMEOUT,
                    IntegerAttribute(kLoginTimeoutSeconds), 0);
  SQLSetConnectAttr(dbc, SQL_ATTR_ACCESS_MODE,
                    IntegerAttribute(settings.read_only ? SQL_MODE_READ_ONLY
                                                        : SQL_MODE_READ_WRITE),
                    0);

  std::u16string source = cp1252::ToUtf16(settings.data_source);
  std::u16string user = cp1252::ToUtf16(settings.user);
  std::u16string password = cp1252::ToUtf16(settings.password);
  SQLRETURN rc =
      SQLConnectW(dbc, Wide(source), ShortLength(source), Wide(user),
                  ShortLength(user), Wide(password), ShortLength(password));
  if (!SQL_SUCCEEDED(rc)) {
    *error = DescribeDiagnostics(ReadDiagnostics(SQL_HANDLE_DBC, dbc), rc);
    // A handle whose connect failed is unusable for the next attempt.
    SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    return false;
  }
  dbc_ = dbc;
  autocommit_ = settings.autocommit;
  SQLHSTMT stmt = SQL_NULL_HSTMT;
  rc = SQLSetConnectAttr(
      dbc, SQL_ATTR_AUTOCOMMIT,
      IntegerAttribute(autocommit_ ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF),
      0);
  if (SQL_SUCCEEDED(rc))
    rc = SQLAllocHandle(SQL_HANDLE_STMT, dbc, &stmt);
  if (!SQL_SUCCEEDED(rc)) {
    *error = DescribeDiagnostics(ReadDiagnostics(SQL_HANDLE_DBC, dbc), rc);
    Disconnect();
    return false;
  }
  stmt_ = stmt;
  // Statements go to the server as built: no rewriting of {fn ...} escapes.
  SQLSetStmtAttr(stmt, SQL_ATTR_NOSCAN, IntegerAttribute(SQL_NOSCAN_ON), 0);
  return true;
}

bool OdbcConnection::Execute(std::string_view sql, Text* error,
                             bool* connection_lost) {
  *connection_lost = false;
  cp1252::ToUtf16(sql, &wide_sql_);
  SQLRETURN rc = SQLExecDirectW(stmt_, Wide(wide_sql_),
                                static_cast<SQLINTEGER>(wide_sql_.size()));
  SQLSMALLINT failed_type = SQL_HANDLE_STMT;
  SQLHANDLE failed_handle = stmt_;
  if ((SQL_SUCCEEDED(rc) || rc == SQL_NO_DATA) && !autocommit_) {
    rc = SQLEndTran(SQL_HANDLE_DBC, dbc_, SQL_COMMIT);
    failed_type = SQL_HANDLE_DBC;
    failed_handle = dbc_;
  }
  if (SQL_SUCCEEDED(rc) || rc == SQL_NO_DATA) {
    // The statement ran and is committed, even when a warning says the
    // server is ending the session; then the next one needs a new
    // connection.
    if (rc == SQL_SUCCESS_WITH_INFO) {
      *connection_lost =
          MeansConnectionLost(ReadDiagnostics(failed_type, failed_handle)) ||
          IsDead();
    }
    SQLFreeStmt(stmt_, SQL_CLOSE);
    return true;
  }
  std::vector<Diagnostic> records = ReadDiagnostics(failed_type, failed_handle);
  *error = DescribeDiagnostics(records, rc);
  *connection_lost = MeansConnectionLost(records) || IsDead();
  SQLFreeStmt(stmt_, SQL_CLOSE);
  return false;
}

bool OdbcConnection::IsDead() const {
  SQLUINTEGER dead = SQL_CD_FALSE;
  SQLRETURN rc =
      SQLGetConnectAttr(dbc_, SQL_ATTR_CONNECTION_DEAD, &dead, 0, nullptr);
  return SQL_SUCCEEDED(rc) && dead == SQL_CD_TRUE;
}

void OdbcConnection::Disconnect() {
  if (stmt_ != nullptr)
    SQLFreeHandle(SQL_HANDLE_STMT, stmt_);
  if (dbc_ != nullptr) {
    SQLDisconnect(dbc_);
    SQLFreeHandle(SQL_HANDLE_DBC, dbc_);
  }
  stmt_ = nullptr;
  dbc_ = nullptr;
}
