// Renders preview jobs on one background thread, newest first: a job that has not started
// when a newer one arrives is dropped, so the thread always works on the latest edit it has
// seen. A running job is finished rather than cancelled, so that even a shape slower than
// the mouse still yields images.
#pragma once

#include "gui/preview/preview_job.h"

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace plakett {

class QtCaptionRasterizer;

class PreviewWorker {
  public:
    // `deliver` runs on the worker thread with every finished result.
    explicit PreviewWorker(std::function<void(PreviewResult)> deliver);
    ~PreviewWorker(); // cancels the running job and waits for the thread
    PreviewWorker(const PreviewWorker&) = delete;
    PreviewWorker& operator=(const PreviewWorker&) = delete;

    void submit(PreviewJob job);

  private:
    void run();

    std::function<void(PreviewResult)> m_deliver;
    std::unique_ptr<QtCaptionRasterizer> m_captions;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::optional<PreviewJob> m_pending;
    std::atomic<bool> m_stop{false};
    std::thread m_thread; // started by the first job
};

} // namespace plakett
