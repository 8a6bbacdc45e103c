#pragma once
#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

// Runs the R replicates of a bootstrap on `threads` threads (0: one per core), the calling
// thread among them. makeBody(caller) gives each thread its own body, which owns its scratch
// space and runs one replicate r at a time; a replicate's result must depend on r alone (its
// own random stream), never on the thread, so results do not depend on the number of threads.
// finished(count, caller) follows every replicate. The first exception a body throws (a
// cancel, say) stops every thread and is thrown again here.
template <typename MakeBody, typename Finished>
void RunReplicates(int R, int threads, MakeBody makeBody, Finished finished) {
    std::atomic<int> next{0}, done{0};
    std::atomic<bool> stop{false};
    std::exception_ptr failure;
    std::mutex failureLock;
    auto work = [&](bool caller) {
        try {
            auto body = makeBody(caller);
            for (int r; !stop.load(std::memory_order_relaxed) && (r = next.fetch_add(1)) < R;) {
                body(r);
                finished(done.fetch_add(1) + 1, caller);
            }
        } catch (...) {
            std::lock_guard lock(failureLock);
            if (!failure) failure = std::current_exception();
            stop = true;
        }
    };
    if (threads <= 0) threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    threads = std::min(threads, R);
    std::vector<std::thread> pool;
    for (int i = 1; i < threads; ++i) pool.emplace_back(work, false);
    work(true);
    for (auto& th : pool) th.join();
    if (failure) std::rethrow_exception(failure);
}
