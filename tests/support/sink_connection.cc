// Stands in for the ODBC connection where only the program's own work is
// measured or exercised: benchmarks and fuzz targets link this instead of
// the driver manager.

#include "sink_connection.h"

#include "db/odbc_connection.h"

namespace {

SinkTotals totals;

}  // namespace

const SinkTotals& SinkConnectionTotals() {
  return totals;
}

void ResetSinkConnection() {
  totals = SinkTotals{};
}

bool OdbcConnection::Connect(const ConnectSettings& /*settings*/,
                             Text* /*error*/) {
  ++totals.opens;
  dbc_ = &totals;  // any non-null handle marks the connection open
  return true;
}

bool OdbcConnection::Execute(std::string_view sql, Text* /*error*/,
                             bool* connection_lost) {
  ++totals.statements;
  totals.bytes += sql.size();
  *connection_lost = false;
  return true;
}

void OdbcConnection::Disconnect() {
  dbc_ = nullptr;
  stmt_ = nullptr;
}
