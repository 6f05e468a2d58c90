#ifndef KFX_RUN_RUN_DRIVER_H_
#define KFX_RUN_RUN_DRIVER_H_

// Exit codes of a run.
inline constexpr int kExitDone = 0;            // every booking written
inline constexpr int kExitWrongArguments = 1;  // fewer than three arguments
inline constexpr int kExitNotAllWritten = 2;   // a booking was not written
inline constexpr int kExitUnexpected = 3;      // an error nobody expected
inline constexpr int kExitNoSettings = 5;      // connection settings missing

// The whole run: arguments, connection settings, argument check, the
// bookings of the input file, the summary. Returns the exit code.
int Run(int argc, char** argv);

// 0 when at least three arguments were given; otherwise prints the argument
// error and returns 1.
int CheckParameters(int argument_count);

#endif  // KFX_RUN_RUN_DRIVER_H_
