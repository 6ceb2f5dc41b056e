// Runs tasks side by side, one thread each, and passes on the first failure once all have ended.
#pragma once

#include <cstddef>
#include <functional>

namespace Content {

// Calls task(0) .. task(count - 1) on threads of their own; rethrows the exception of the lowest-numbered task
// that failed.
void RunInParallel(std::size_t count, const std::function<void(std::size_t)>& task);

} // namespace Content
