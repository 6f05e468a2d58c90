#ifndef KFX_RUN_RUN_DRIVER_H_
#define KFX_RUN_RUN_DRIVER_H_

// The whole run, after InitPlatform: arguments, connection settings, argument
// check, the bookings of the input file, the summary. Returns the exit code.
int Run(int argc, char** argv);

// 0 when at least three arguments were given; otherwise prints the argument
// error and returns 1.
int CheckParameters(int argument_count);

#endif  // KFX_RUN_RUN_DRIVER_H_
