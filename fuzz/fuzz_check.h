#ifndef KFX_FUZZ_FUZZ_CHECK_H_
#define KFX_FUZZ_FUZZ_CHECK_H_

// A property the fuzz targets hold the code to. A broken one must stop the
// fuzzer like a crash does, so that the input is kept as an artifact; the
// stack trace shows which property it was.

#include <cstdio>
#include <cstdlib>

inline void Require(bool holds, const char* property) {
  if (holds)
    return;
  std::fprintf(stderr, "property broken: %s\n", property);
  std::abort();
}

#endif  // KFX_FUZZ_FUZZ_CHECK_H_
