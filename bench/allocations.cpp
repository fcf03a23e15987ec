#include "bench/allocations.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::size_t> allocations{0};

}  // namespace

namespace vt::bench {

std::size_t AllocationCount() { return allocations.load(std::memory_order_relaxed); }

}  // namespace vt::bench

// The array and nothrow forms of libstdc++ call this one.
void* operator new(std::size_t size) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  for (;;) {
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    std::new_handler handler = std::get_new_handler();
    if (handler == nullptr) throw std::bad_alloc();
    handler();
  }
}

void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
