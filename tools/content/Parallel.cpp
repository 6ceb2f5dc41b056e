#include "tools/content/Parallel.h"

#include <exception>
#include <thread>
#include <vector>

namespace Content {

void RunInParallel(std::size_t count, const std::function<void(std::size_t)>& task)
{
    std::vector<std::exception_ptr> failures(count);
    {
        std::vector<std::jthread> threads;
        for (std::size_t i = 0; i < count; ++i) {
            threads.emplace_back([&, i] {
                try {
                    task(i);
                } catch (...) {
                    failures[i] = std::current_exception();
                }
            });
        }
    }
    for (const std::exception_ptr& failure : failures) {
        if (failure)
            std::rethrow_exception(failure);
    }
}

} // namespace Content
