#ifndef KFX_RUN_STATE_H_
#define KFX_RUN_STATE_H_

// Process-wide state of the one run this process makes. Set by the run
// driver and the connection setup; read by the statement builder.

#include <string>

#include "text.h"

extern bool DebugMode;             // "/D" given as fourth argument, in any case
extern Text SectionName;           // first argument; kept, never read
extern Text TerminalName;          // second argument, written into every row
extern Text InputFileName;         // third argument, as shown on the console
extern std::string InputFilePath;  // third argument in the platform's form
extern Text DbSystem;              // "ORACLE" or "MSSQL" selects the dialect
extern int SequenceNumber;         // running number of the last booking, 0..999

#endif  // KFX_RUN_STATE_H_
