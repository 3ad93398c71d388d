#pragma once
// A small pool of worker threads that share the blocks of one batch. The calling thread works
// too, so a pool of one thread starts no thread at all.
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace umbrix::batch {

class ThreadPool {
  public:
    // threads counts the calling thread; 0 means one per hardware thread.
    explicit ThreadPool(unsigned threads = 0);
    ~ThreadPool();
    ThreadPool(const ThreadPool&) = delete;
    ThreadPool& operator=(const ThreadPool&) = delete;

    unsigned size() const { return unsigned(workers_.size()) + 1; }

    // Calls body(begin, end) for the blocks [0, block), [block, 2 block), ... of [0, n) on the
    // pool's threads and returns when every block is done. Which thread takes which block is
    // left open, so body must not depend on it. The first exception a block throws is
    // rethrown here; blocks not yet started are then skipped. Calls from several threads take
    // turns; a call from inside a block runs on that block's thread alone.
    void forEachBlock(std::size_t n, std::size_t block,
                      const std::function<void(std::size_t, std::size_t)>& body);

  private:
    struct Job;
    void work(std::stop_token stop);
    static void runBlocks(Job& job);

    std::vector<std::jthread> workers_;
    std::mutex callers_;  // one batch at a time
    std::mutex mutex_;
    std::condition_variable wake_, done_;
    Job* job_ = nullptr;
    unsigned long generation_ = 0;
    unsigned busy_ = 0;  // workers still inside the current job
};

}  // namespace umbrix::batch
