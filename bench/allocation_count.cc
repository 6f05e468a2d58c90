#include "allocation_count.h"

#include <cstdlib>
#include <new>

namespace {

size_t allocations = 0;

}  // namespace

size_t AllocationCount() {
  return allocations;
}

// The replaceable global forms; every other form of new and delete of the
// standard library goes through these.
void* operator new(size_t size) {
  ++allocations;
  if (void* memory = std::malloc(size == 0 ? 1 : size))
    return memory;
  throw std::bad_alloc();
}

void operator delete(void* memory) noexcept {
  std::free(memory);
}

void operator delete(void* memory, size_t /*size*/) noexcept {
  std::free(memory);
}
