#include <algorithm>
#include <atomic>

#include "umbrix/thread_pool.h"

namespace umbrix::batch {

namespace {
// The pool whose block the current thread is running, to run nested calls in place.
thread_local const ThreadPool* tCurrentPool = nullptr;
}  // namespace

struct ThreadPool::Job {
    std::size_t n = 0, block = 1, blocks = 0;
    const std::function<void(std::size_t, std::size_t)>* body = nullptr;
    std::atomic<std::size_t> next{0};
    std::atomic<bool> failed{false};
    std::mutex errorMutex;
    std::exception_ptr error;
};

ThreadPool::ThreadPool(unsigned threads) {
    if (threads == 0) threads = std::max(1u, std::thread::hardware_concurrency());
    workers_.reserve(threads - 1);
    for (unsigned i = 1; i < threads; ++i)
        workers_.emplace_back([this](std::stop_token stop) { work(stop); });
}

ThreadPool::~ThreadPool() {
    {
        std::lock_guard lock(mutex_);
        for (auto& w : workers_) w.request_stop();
    }
    wake_.notify_all();
    // the jthreads join on destruction
}

void ThreadPool::runBlocks(Job& job) {
    for (;;) {
        const std::size_t b = job.next.fetch_add(1);
        if (b >= job.blocks || job.failed.load()) return;
        const std::size_t begin = b * job.block;
        const std::size_t end = std::min(job.n, begin + job.block);
        try {
            (*job.body)(begin, end);
        } catch (...) {
            std::lock_guard lock(job.errorMutex);
            if (!job.error) job.error = std::current_exception();
            job.failed = true;
        }
    }
}

void ThreadPool::work(std::stop_token stop) {
    tCurrentPool = this;
    unsigned long seen = 0;
    for (;;) {
        Job* job;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [&] { return stop.stop_requested() || generation_ != seen; });
            if (stop.stop_requested()) return;
            seen = generation_;
            job = job_;
        }
        runBlocks(*job);
        {
            std::lock_guard lock(mutex_);
            if (--busy_ == 0) done_.notify_one();
        }
    }
}

void ThreadPool::forEachBlock(std::size_t n, std::size_t block,
                              const std::function<void(std::size_t, std::size_t)>& body) {
    if (n == 0) return;
    if (block == 0) block = 1;
    const std::size_t blocks = (n + block - 1) / block;
    if (workers_.empty() || blocks == 1 || tCurrentPool == this) {
        for (std::size_t begin = 0; begin < n; begin += block)
            body(begin, std::min(n, begin + block));
        return;
    }
    std::lock_guard turn(callers_);
    Job job;
    job.n = n;
    job.block = block;
    job.blocks = blocks;
    job.body = &body;
    {
        std::lock_guard lock(mutex_);
        job_ = &job;
        busy_ = unsigned(workers_.size());
        ++generation_;
    }
    wake_.notify_all();
    const ThreadPool* outer = tCurrentPool;
    tCurrentPool = this;
    runBlocks(job);
    tCurrentPool = outer;
    {
        std::unique_lock lock(mutex_);
        done_.wait(lock, [&] { return busy_ == 0; });
        job_ = nullptr;
    }
    if (job.error) std::rethrow_exception(job.error);
}

}  // namespace umbrix::batch
