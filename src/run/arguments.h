#ifndef KFX_RUN_ARGUMENTS_H_
#define KFX_RUN_ARGUMENTS_H_

#include "text.h"

// Prepares argument conversion (the platform's locale); call once at start.
void InitArguments();

// Command-line argument `index` in Windows-1252, the code page of every
// text the program writes; characters it cannot hold become '?'. Empty when
// the argument is missing.
Text ArgumentText(int argc, char** argv, int index);

#endif  // KFX_RUN_ARGUMENTS_H_
