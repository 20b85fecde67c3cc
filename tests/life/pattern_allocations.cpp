// Watches the program's allocations for the limit tests: a text the limits
// refuse must be refused before anything its numbers ask for is allocated.
#include <atomic>
#include <cstdlib>
#include <new>

#include "tests/life/pattern_test_support.h"

namespace {
std::atomic<size_t> largest{0};
}

void ResetLargestAllocation() { largest = 0; }
size_t LargestAllocation() { return largest; }

void* operator new(size_t size) {
  size_t seen = largest.load();
  while (size > seen && !largest.compare_exchange_weak(seen, size)) {
  }
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void* operator new[](size_t size) { return operator new(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
void operator delete[](void* p, size_t) noexcept { std::free(p); }
