#ifndef KFX_TESTS_SUPPORT_SINK_CONNECTION_H_
#define KFX_TESTS_SUPPORT_SINK_CONNECTION_H_

// What the connection that sends nothing has been given since the last
// reset: it opens always, takes every statement and counts it.

#include <cstddef>

struct SinkTotals {
  size_t statements = 0;
  size_t bytes = 0;
  size_t opens = 0;
};

const SinkTotals& SinkConnectionTotals();
void ResetSinkConnection();

#endif  // KFX_TESTS_SUPPORT_SINK_CONNECTION_H_
