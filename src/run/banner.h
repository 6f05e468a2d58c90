#ifndef KFX_RUN_BANNER_H_
#define KFX_RUN_BANNER_H_

// The framed banner and the usage text that surround the error exits.

#include <string_view>

#include "text.h"

inline constexpr size_t kBannerWidth = 54;

// "** " + text, padded with blanks to the frame, + "**\n".
Text FramedLine(std::string_view text);

void PrintBanner();
void PrintUsage();

#endif  // KFX_RUN_BANNER_H_
