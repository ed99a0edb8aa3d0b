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

void RunInParallel(std::size_t count,
                   const std::function<void(std::size_t item, std::size_t worker)>& work,
                   std::size_t threads) {
    threads =
        std::min<std::size_t>({count, threads, std::max(1U, std::thread::hardware_concurrency())});
    std::atomic<std::size_t> next{0};
    std::mutex failing;
    std::exception_ptr failure;
    const auto run = [&](std::size_t worker) {
        for (std::size_t item = next++; item < count; item = next++) {
            try {
                work(item, worker);
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
                platform::KeepOffThisProcessor(helpers.emplace_back(run, helper));
            }
        } catch (const std::system_error&) {
            // No thread to be had: the work is done by those there are, this one at least.
        }
        run(0);
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
}

}  // namespace kestrava::history
