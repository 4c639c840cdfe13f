// Worker threads, the shared job index and the memory budget.
#include "archive/decode_jobs.h"

#include "archive/block_decoder.h"
#include "archive/decode_error.h"
#include "archive/zpaq_choices.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <new>
#include <string>
#include <system_error>
#include <thread>

namespace zpaq {

namespace {

// Lets a block start only while the blocks in flight fit under the cap; a
// block alone always may (the header parser refused larger ones).
class MemoryBudget
{
public:
    void acquire(std::uint64_t bytes)
    {
        std::unique_lock<std::mutex> lock(m_lock);
        m_freed.wait(lock, [&] { return m_used == 0 || m_used + bytes <= kMemoryCap; });
        m_used += bytes;
    }
    void release(std::uint64_t bytes)
    {
        {
            std::lock_guard<std::mutex> guard(m_lock);
            m_used -= bytes;
        }
        m_freed.notify_all();
    }

private:
    std::mutex m_lock;
    std::condition_variable m_freed;
    std::uint64_t m_used = 0;
};

std::uint64_t jobMemory(const DecodeJob &job)
{
    std::uint64_t most = 0;
    for (const BlockLayout *b : job.blocks)
        most = std::max(most, b->header.memory);
    return most;
}

struct SharedState
{
    SharedState(const ArchiveInput &a, std::vector<DecodeJob> &j, OutputFolder &f)
        : archive(a), jobs(j), folder(f)
    {
    }
    const ArchiveInput &archive;
    std::vector<DecodeJob> &jobs;
    OutputFolder &folder;
    std::atomic<std::size_t> next{0};
    std::atomic<bool> cancel{false};
    MemoryBudget budget;
    std::mutex errorLock;
    std::string error;

    void failWith(const std::string &reason)
    {
        {
            std::lock_guard<std::mutex> guard(errorLock);
            if (error.empty())
                error = reason;
        }
        cancel = true;
    }
};

void worker(SharedState &s)
{
    FileWriterCache writer(s.folder);
    for (;;) {
        const std::size_t i = s.next++;
        if (i >= s.jobs.size() || s.cancel)
            return;
        DecodeJob &job = s.jobs[i];
        const std::uint64_t memory = jobMemory(job);
        s.budget.acquire(memory);
        try {
            std::unique_ptr<BlockOutput> out = job.makeOutput(writer);
            for (const BlockLayout *block : job.blocks)
                decodeBlock(s.archive, *block, *out, &s.cancel);
        } catch (const std::bad_alloc &) {
            s.failWith("out of memory while decoding a block");
        } catch (const std::exception &e) {
            s.failWith(e.what());
        }
        s.budget.release(memory);
    }
}

} // namespace

void runDecodeJobs(const ArchiveInput &archive, std::vector<DecodeJob> &jobs, unsigned threads,
                   OutputFolder &folder)
{
    if (jobs.empty())
        return;
    if (threads == 0)
        threads = std::max(1u, std::thread::hardware_concurrency());
    threads = unsigned(std::min<std::size_t>(threads, jobs.size()));
    SharedState state(archive, jobs, folder);
    std::vector<std::thread> pool;
    try {
        for (unsigned t = 1; t < threads; ++t)
            pool.emplace_back(worker, std::ref(state));
    } catch (const std::system_error &) {
        // Fewer threads than asked for still decode everything.
    }
    worker(state);
    for (std::thread &t : pool)
        t.join();
    if (!state.error.empty())
        throw DecodeError(state.error);
}

} // namespace zpaq
