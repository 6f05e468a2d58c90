#include "db/database.h"

#include "db/db_errors.h"

namespace {

// The connection's stored parameter lines, in their order. The run fills in
// user, data source and password; the open reads user, password, the open
// mode and the pass-through mode (AUTOCOMMIT: one commit per statement).
// The rest are kept as stored and mean nothing to an ODBC connection.
constexpr const char* kStoredParams[] = {
    "DATABASE NAME=",
    "USER NAME=",
    "ODBC DSN=",
    "OPEN MODE=READ/WRITE",
    "SCHEMA CACHE SIZE=8",
    "SQLQRYMODE=",
    "LANGDRIVER=",
    "SQLPASSTHRU MODE=SHARED AUTOCOMMIT",
    "SCHEMA CACHE TIME=-1",
    "MAX ROWS=-1",
    "BATCH COUNT=200",
    "ENABLE SCHEMA CACHE=FALSE",
    "SCHEMA CACHE DIR=",
    "ENABLE BCD=FALSE",
    "ROWSET SIZE=20",
    "BLOBS TO CACHE=64",
    "PASSWORD=",
};

}  // namespace

TDatabase::TDatabase() : DatabaseName("VRDB"), SessionName("Default") {
  for (const char* line : kStoredParams)
    params_.Add(line);
}

TDatabase::~TDatabase() = default;

void TDatabase::CheckClosed() const {
  if (Connected()) {
    throw EDatabaseError(
        "Verbindungsparameter koennen bei offener Verbindung nicht "
        "geaendert werden");
  }
}

void TDatabase::SetParam(int index, std::string_view line) {
  CheckClosed();
  params_.Put(index, line);
}

void TDatabase::SetAliasName(std::string_view alias) {
  CheckClosed();
  alias_name_.assign(alias);
}

void TDatabase::Open() {
  if (Connected())
    return;
  ConnectSettings settings;
  settings.data_source = alias_name_;
  settings.user = Text(params_.Value("USER NAME"));
  settings.password = Text(params_.Value("PASSWORD"));
  settings.read_only = params_.Value("OPEN MODE") == "READ ONLY";
  settings.autocommit =
      params_.Value("SQLPASSTHRU MODE").find("AUTOCOMMIT") != Text::npos;
  Text error;
  if (!connection_.Connect(settings, &error))
    throw EDBEngineError(error);
}

void TDatabase::Execute(std::string_view sql) {
  Open();
  Text error;
  bool connection_lost = false;
  const bool ok = connection_.Execute(sql, &error, &connection_lost);
  if (connection_lost || !KeepConnection)
    Close();
  if (!ok)
    throw EDBEngineError(error);
}
