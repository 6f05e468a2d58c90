#ifndef KFX_CONFIG_CONNECTION_SETUP_H_
#define KFX_CONFIG_CONNECTION_SETUP_H_

#include <string>

inline constexpr char kSettingsFileName[] = "DHWEB05S.TXT";

// The settings file beside `input_path`: its directory part (up to and
// including the last "\" or ":", on POSIX also "/") followed by
// DHWEB05S.TXT.
std::string SettingsPathFor(const std::string& input_path);

// Reads user, password, data source and database system from the settings
// file beside the input file, shows them in debug mode, and writes them into
// dm1's connection. Returns 0, or 5 after printing the settings error when
// one of them is missing.
int LoadDbInfo();

#endif  // KFX_CONFIG_CONNECTION_SETUP_H_
