// Makes memory run out on purpose. This program's global operator new and delete are replaced by ones over malloc
// and free; while an AllocationLimit lives, every operator new of more bytes than its limit throws std::bad_alloc,
// as it would when memory has run out, and the largest request made is recorded.
#pragma once

#include <cstddef>

namespace RenderTesting {

class AllocationLimit
{
public:
    explicit AllocationLimit(std::size_t bytes);
    ~AllocationLimit();

    AllocationLimit(const AllocationLimit&) = delete;
    AllocationLimit& operator=(const AllocationLimit&) = delete;

    // The largest operator new request since the limit was set, granted or not.
    static std::size_t GetLargestRequest();
};

} // namespace RenderTesting
