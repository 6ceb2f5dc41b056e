// Every allocation of the program is counted, so that a benchmark's frames can show they allocate nothing.
#include "bench/BenchSupport.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::uint64_t> g_allocations{0};

} // namespace

void* operator new(std::size_t size)
{
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* memory = std::malloc(size ? size : 1))
        return memory;
    throw std::bad_alloc();
}

// GCC takes the free below for a mismatch with the operator new it cannot see is this file's own.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void operator delete(void* memory) noexcept
{
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept
{
    std::free(memory);
}

std::uint64_t BenchSupport::Allocations()
{
    return g_allocations.load();
}
