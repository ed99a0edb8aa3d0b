#include "history/ParallelWork.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/ThreadPriority.h"

namespace kestrava::history {

void RunInParallel(std::size_t count, const std::function<void(std::size_t)>& work,
                   std::size_t threads) {
    threads =
        std::min<std::size_t>({count, threads, std::max(1U, std::thread::hardware_concurrency())});
    std::atomic<std::size_t> next{0};
    std::mutex failing;
    std::exception_ptr failure;
    const auto run = [&] {
        for (std::size_t item = next++; item < count; item = next++) {
            try {
                work(item);
            } catch (...) {
                const std::lock_guard lock(failing);
                failure = std::current_exception();
            }
        }
    };
    {
        std::vector<std::jthread> helpers;
        try {
            for (std::size_t helper = 1; helper < threads; ++helper) {
                platform::KeepOffThisProcessor(helpers.emplace_back(run));
            }
        } catch (const std::system_error&) {
            // No thread to be had: the work is done by those there are, this one at least.
        }
        run();
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
}

}  // namespace kestrava::history
