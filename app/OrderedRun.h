#pragma once
// Work on many items on several threads, with the results taken in input
// order on the calling thread: what comes out is the same for any number of
// threads. At most `window` results wait at any time, so memory does not grow
// with the number of items.
#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

// work(k) runs on a worker thread; awaiting(k) and then take(k, result) run
// on the calling thread for k = 0, 1, ... in order. None of them may throw.
// With one job there are no threads at all: everything runs on the calling
// thread, item after item.
template <typename Result, typename Work, typename Awaiting, typename Take>
void RunInOrder(size_t count, unsigned jobs, Work work, Awaiting awaiting, Take take) {
  jobs = static_cast<unsigned>(std::min<size_t>(std::max(jobs, 1u), std::max<size_t>(count, 1)));
  if (jobs == 1) {
    for (size_t k = 0; k < count; ++k) {
      awaiting(k);
      take(k, work(k));
    }
    return;
  }
  const size_t window = 2 * static_cast<size_t>(jobs);
  std::vector<std::optional<Result>> ready(window);
  std::mutex mutex;
  std::condition_variable changed;
  size_t next = 0;   // the next item a worker takes up
  size_t taken = 0;  // items the calling thread has taken

  auto worker = [&] {
    for (;;) {
      size_t k;
      {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return next >= count || next < taken + window; });
        if (next >= count) return;
        k = next++;
      }
      Result result = work(k);
      {
        std::lock_guard lock(mutex);
        ready[k % window].emplace(std::move(result));
      }
      changed.notify_all();
    }
  };
  std::vector<std::thread> threads;
  threads.reserve(jobs);
  for (unsigned j = 0; j < jobs; ++j) threads.emplace_back(worker);
  for (size_t k = 0; k < count; ++k) {
    awaiting(k);
    std::optional<Result> result;
    {
      std::unique_lock lock(mutex);
      changed.wait(lock, [&] { return ready[k % window].has_value(); });
      result.swap(ready[k % window]);
      taken = k + 1;
    }
    changed.notify_all();
    take(k, std::move(*result));
  }
  for (std::thread& thread : threads) thread.join();
}
