#include <cstdio>
#include <exception>

#include "exit_codes.h"
#include "run/platform.h"
#include "run/run_driver.h"

int main(int argc, char** argv) {
  try {
    InitPlatform();
    const int exit_code = Run(argc, argv);
    std::fflush(stdout);
    return exit_code;
  } catch (const std::exception& error) {
    std::fflush(stdout);
    std::fprintf(stderr, "Unerwarteter Fehler: %s\n", error.what());
  } catch (...) {
    std::fflush(stdout);
    std::fprintf(stderr, "Unerwarteter Fehler\n");
  }
  return kExitUnexpected;
}
