#include "config/connection_setup.h"

#include <string_view>

#include "config/settings_file.h"
#include "console.h"
#include "db/data_module.h"
#include "exit_codes.h"
#include "run/banner.h"
#include "run/platform.h"
#include "run_state.h"

namespace {

Text LookUp(std::string_view key, const std::string& path) {
  ReadSettingsEntry("", key, 0, path);
  return CurrentEntry.value;
}

// Puts `value` behind `prefix` on every parameter line that starts with it.
void ReplaceParam(TDatabase* db, int index, std::string_view prefix,
                  std::string_view value) {
  if (!std::string_view(db->Param(index)).starts_with(prefix))
    return;
  Text line(prefix);
  line.append(value);
  db->SetParam(index, line);
}

}  // namespace

std::string SettingsPathFor(const std::string& input_path) {
  const size_t last = input_path.find_last_of(kDirectorySeparators);
  std::string path = last == std::string::npos ? std::string()
                                               : input_path.substr(0, last + 1);
  path.append(kSettingsFileName);
  return path;
}

int LoadDbInfo() {
  const std::string path = SettingsPathFor(InputFilePath);
  const Text user = LookUp("LOGIN", path);
  const Text password = LookUp("PASS", path);
  const Text database_name = LookUp("DATABASE", path);
  DbSystem = LookUp("DB_SYSTEM", path);

  if (DebugMode) {
    Print({" DB-Informationen:\n"});
    Print({"  DbSys  = '", DbSystem, "'\n"});
    Print({"  DbName = '", database_name, "'\n"});
    Print({"  DbUsr  = '", user, "'\n"});
    Print({"  DbPwd  = '", password, "'\n"});
  }

  if (user.empty() || password.empty() || DbSystem.empty() ||
      database_name.empty()) {
    PrintBanner();
    Print({"Fehler beim Ermitteln der DB-Infos\n"});
    Print({"Quelle: '..\\..\\FILES\\KARVELION.INI'\n"});
    Print({"\n"});
    PrintUsage();
    return kExitNoSettings;
  }

  TDatabase& db = dm1->KARVELION;
  for (int i = 0; i < db.ParamCount(); ++i) {
    ReplaceParam(&db, i, "USER NAME=", user);
    ReplaceParam(&db, i, "PASSWORD=", password);
    ReplaceParam(&db, i, "ODBC DSN=", database_name);
  }
  db.SetAliasName(database_name);
  return 0;
}
