// The floor for one commit per statement through ODBC: connects once and
// runs every line of a file with SQLExecDirect in autocommit, and nothing
// else. Exits 1 when any statement fails.
//
//   kfx_odbc_floor DSN USER PASSWORD FILE

#include <sql.h>
#include <sqlext.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

void PrintDiagnostics(SQLSMALLINT type, SQLHANDLE handle) {
  SQLCHAR state[6] = {};
  SQLCHAR text[512] = {};
  SQLINTEGER native = 0;
  SQLSMALLINT length = 0;
  if (SQL_SUCCEEDED(SQLGetDiagRec(type, handle, 1, state, &native, text,
                                  sizeof text, &length))) {
    std::fprintf(stderr, "SQLSTATE %s: %s\n", reinterpret_cast<char*>(state),
                 reinterpret_cast<char*>(text));
  }
}

SQLCHAR* Chars(std::string& text) {
  return reinterpret_cast<SQLCHAR*>(text.data());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: %s DSN USER PASSWORD FILE\n", argv[0]);
    return 2;
  }
  std::string dsn = argv[1];
  std::string user = argv[2];
  std::string password = argv[3];
  std::ifstream statements(argv[4]);
  if (!statements) {
    std::fprintf(stderr, "%s: cannot read %s\n", argv[0], argv[4]);
    return 1;
  }

  SQLHENV env = SQL_NULL_HENV;
  SQLHDBC dbc = SQL_NULL_HDBC;
  SQLHSTMT stmt = SQL_NULL_HSTMT;
  SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env);
  SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION,
                reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
  SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc);
  if (!SQL_SUCCEEDED(SQLConnect(dbc, Chars(dsn), SQL_NTS, Chars(user), SQL_NTS,
                                Chars(password), SQL_NTS))) {
    PrintDiagnostics(SQL_HANDLE_DBC, dbc);
    return 1;
  }
  SQLAllocHandle(SQL_HANDLE_STMT, dbc, &stmt);

  int failed = 0;
  std::string line;
  while (std::getline(statements, line)) {
    if (line.empty())
      continue;
    if (!SQL_SUCCEEDED(SQLExecDirect(stmt, Chars(line),
                                     static_cast<SQLINTEGER>(line.size())))) {
      if (failed++ == 0)
        PrintDiagnostics(SQL_HANDLE_STMT, stmt);
    }
  }
  SQLFreeHandle(SQL_HANDLE_STMT, stmt);
  SQLDisconnect(dbc);
  SQLFreeHandle(SQL_HANDLE_DBC, dbc);
  SQLFreeHandle(SQL_HANDLE_ENV, env);
  if (failed > 0)
    std::fprintf(stderr, "%s: %d statements failed\n", argv[0], failed);
  return failed > 0 ? 1 : 0;
}
