#ifndef KFX_BOOKINGS_INPUT_LOADER_H_
#define KFX_BOOKINGS_INPUT_LOADER_H_

#include "text.h"

// Reads the whole input file (InputFilePath) into *content, byte for byte;
// zero bytes and line breaks are ordinary content. Returns 0, or -1 with
// *content empty when the file cannot be opened or read.
int LoadInputFile(Text* content);

#endif  // KFX_BOOKINGS_INPUT_LOADER_H_
