#ifndef KFX_BENCH_ALLOCATION_COUNT_H_
#define KFX_BENCH_ALLOCATION_COUNT_H_

#include <cstddef>

// Calls of operator new in this process so far: the benchmarks report how
// many a record costs, which on the hot path must be none.
size_t AllocationCount();

#endif  // KFX_BENCH_ALLOCATION_COUNT_H_
