#include "run_state.h"

bool DebugMode = false;
Text SectionName;
Text TerminalName;
Text InputFileName;
std::string InputFilePath;
Text DbSystem;
int SequenceNumber = 0;
