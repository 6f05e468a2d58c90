#ifndef KFX_DB_PARAM_SCANNER_H_
#define KFX_DB_PARAM_SCANNER_H_

// The query's parameter check. Outside literals quoted with ', " or `, a
// colon not followed by a second colon starts a parameter whose name runs to
// the next blank, comma, semicolon, closing parenthesis, carriage return or
// line feed; a doubled colon stands for one colon.

#include <optional>
#include <string_view>

#include "text.h"

// Scans `sql`. Returns the name of the first parameter (possibly empty, for a
// colon with nothing behind it), or nothing when there is none. *to_send
// receives the statement as the database is to see it: every doubled colon
// outside literals made single.
std::optional<Text> ScanParameters(std::string_view sql, Text* to_send);

// True when `sql` holds neither " nor ` and every colon of it lies inside a
// '...' literal: then it holds no parameter and goes to the database as it
// is. False says nothing; ScanParameters decides then.
bool ColonsOnlyInLiterals(std::string_view sql);

#endif  // KFX_DB_PARAM_SCANNER_H_
