// Row blocks are handed out through one counter; the calling thread works too and reports
// the finished rows in order between its own blocks, so progress and cancel stay on it.
#include "common/field_parallel.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <latch>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace plakett {

namespace {

constexpr long long kCellsPerThread = 16384;
constexpr int kMaxThreads = 8;
// Row blocks of the column-major maps: large enough that two threads rarely write one
// cache line, small enough for progress to flow.
constexpr int kBlockRows = 16;

// Threads are kept parked between uses: a field runs several short parallel steps, and
// starting a thread costs about as much as a small step. Each parked thread serves one
// caller at a time, and a caller that finds none parked starts a new one, so nested or
// concurrent callers never wait for each other.
class ParkedThreads {
  public:
    static ParkedThreads& instance() {
        // Never destroyed: parked threads wait on it until the process ends.
        static ParkedThreads* const pool = new ParkedThreads;
        return *pool;
    }

    // Runs job, then finished, on a parked or new thread; the thread is parked again before
    // finished runs, so that a caller woken by it finds the thread ready for its next step.
    // Throws std::system_error when no thread can start.
    void run(std::function<void()> job, std::function<void()> finished) {
        Parked* parked = nullptr;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (!m_idle.empty()) {
                parked = m_idle.back();
                m_idle.pop_back();
            }
        }
        if (parked == nullptr) {
            auto fresh = std::make_unique<Parked>();
            std::thread(&ParkedThreads::serve, this, fresh.get()).detach();
            parked = fresh.release();
        }
        {
            std::lock_guard<std::mutex> lock(parked->mutex);
            parked->job = std::move(job);
            parked->finished = std::move(finished);
        }
        parked->wake.notify_one();
    }

  private:
    struct Parked {
        std::mutex mutex;
        std::condition_variable wake;
        std::function<void()> job;
        std::function<void()> finished;
    };

    void serve(Parked* parked) {
        for (;;) {
            std::function<void()> job, finished;
            {
                std::unique_lock<std::mutex> lock(parked->mutex);
                parked->wake.wait(lock, [&] { return static_cast<bool>(parked->job); });
                job = std::exchange(parked->job, nullptr);
                finished = std::exchange(parked->finished, nullptr);
            }
            job();
            job = nullptr;
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_idle.push_back(parked);
            }
            finished();
        }
    }

    std::mutex m_mutex;
    std::vector<Parked*> m_idle;
};

// Runs helper(i, workers) for i = 1..threads-1 on parked threads once the final count is
// known; a helper that cannot be started only lowers the count. The destructor waits for
// every helper to finish.
class Helpers {
  public:
    Helpers(int threads, std::function<void(int, int)> helper) : m_helper(std::move(helper)) {
        for (int i = 1; i < threads; ++i) {
            try {
                ParkedThreads::instance().run(
                    [this, i] {
                        m_ready.wait();
                        m_helper(i, m_workers);
                    },
                    [this] {
                        // Notified under the lock, so the waiting destructor cannot end first.
                        std::lock_guard<std::mutex> lock(m_mutex);
                        ++m_finished;
                        m_done.notify_all();
                    });
                ++m_started;
            } catch (const std::system_error&) {
                break;
            }
        }
        m_workers = m_started + 1;
    }
    int workers() const { return m_workers; }
    void start() {
        if (m_released) return;
        m_released = true;
        m_ready.count_down();
    }
    ~Helpers() {
        start();
        std::unique_lock<std::mutex> lock(m_mutex);
        m_done.wait(lock, [&] { return m_finished == m_started; });
    }

  private:
    std::function<void(int, int)> m_helper;
    std::latch m_ready{1};
    bool m_released = false;
    int m_workers = 1;
    int m_started = 0;
    std::mutex m_mutex;
    std::condition_variable m_done;
    int m_finished = 0;
};

} // namespace

bool threadsAvailable() {
#ifdef PLAKETT_ONE_THREAD
    return false;
#else
    return true;
#endif
}

int hardwareThreads() {
    if (!threadsAvailable()) return 1;
    return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

int fieldThreadCount(long long cells) {
    const int hw = hardwareThreads();
    const long long wanted = std::max(1LL, cells / kCellsPerThread);
    return static_cast<int>(std::min<long long>({wanted, hw, kMaxThreads}));
}

Span splitRange(int begin, int end, int worker, int workers) {
    const long long n = std::max(0, end - begin);
    return {begin + static_cast<int>(n * worker / workers),
            begin + static_cast<int>(n * (worker + 1) / workers)};
}

bool runRows(int rows, int threads, const std::function<void(int, int, int)>& work,
             const std::function<bool(int)>& rowDone) {
    if (rows <= 0) return true;
    if (threads <= 1 || rows < 2 * kBlockRows || !threadsAvailable()) {
        for (int y = 0; y < rows; ++y) {
            work(0, y, y + 1);
            if (!rowDone(y)) return false;
        }
        return true;
    }
    const int blocks = (rows + kBlockRows - 1) / kBlockRows;
    std::atomic<int> next{0};
    std::atomic<bool> stop{false};
    std::unique_ptr<std::atomic<bool>[]> done(new std::atomic<bool>[blocks]);
    for (int b = 0; b < blocks; ++b)
        done[b].store(false);
    std::mutex mutex;
    std::condition_variable finished;

    auto runBlock = [&](int worker, int b) {
        work(worker, b * kBlockRows, std::min(rows, (b + 1) * kBlockRows));
    };
    auto helper = [&](int worker, int) {
        while (!stop.load()) {
            const int b = next.fetch_add(1);
            if (b >= blocks) break;
            runBlock(worker, b);
            {
                std::lock_guard<std::mutex> lock(mutex);
                done[b].store(true);
            }
            finished.notify_one();
        }
    };
    Helpers helpers(threads, helper);
    helpers.start();

    int reported = 0;
    auto report = [&] {
        while (reported < rows && done[reported / kBlockRows].load()) {
            if (!rowDone(reported)) return false;
            ++reported;
        }
        return true;
    };
    bool ok = true;
    for (int b; ok && (b = next.fetch_add(1)) < blocks;) {
        runBlock(0, b);
        done[b].store(true);
        ok = report();
    }
    while (ok && reported < rows) {
        {
            std::unique_lock<std::mutex> lock(mutex);
            finished.wait(lock, [&] { return done[reported / kBlockRows].load(); });
        }
        ok = report();
    }
    if (!ok) stop.store(true);
    return ok;
}

void runTeam(int threads, const std::function<void(int, int)>& body) {
    if (threads <= 1 || !threadsAvailable()) {
        body(0, 1);
        return;
    }
    Helpers helpers(threads, body);
    helpers.start();
    body(0, helpers.workers());
}

} // namespace plakett
