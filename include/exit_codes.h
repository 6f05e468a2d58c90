#ifndef KFX_EXIT_CODES_H_
#define KFX_EXIT_CODES_H_

// Exit codes of a run.
inline constexpr int kExitDone = 0;            // every booking written
inline constexpr int kExitWrongArguments = 1;  // fewer than three arguments
inline constexpr int kExitNotAllWritten = 2;   // a booking was not written
inline constexpr int kExitUnexpected = 3;      // an error nobody expected
inline constexpr int kExitNoSettings = 5;      // connection settings missing

#endif  // KFX_EXIT_CODES_H_
