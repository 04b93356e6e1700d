#include "gui/preview/preview_worker.h"

#include "textraster/qt_caption_rasterizer.h"

namespace plakett {

PreviewWorker::PreviewWorker(std::function<void(PreviewResult)> deliver)
    : m_deliver(std::move(deliver)), m_captions(std::make_unique<QtCaptionRasterizer>()) {}

PreviewWorker::~PreviewWorker() {
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_one();
    if (m_thread.joinable()) m_thread.join();
}

void PreviewWorker::submit(PreviewJob job) {
    {
        std::lock_guard lock(m_mutex);
        m_pending = std::move(job);
        if (!m_thread.joinable()) m_thread = std::thread([this] { run(); });
    }
    m_wake.notify_one();
}

void PreviewWorker::run() {
    for (;;) {
        PreviewJob job;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stop || m_pending; });
            if (m_stop) return;
            job = std::move(*m_pending);
            m_pending.reset();
        }
        PreviewResult result = renderPreview(std::move(job), m_captions.get(), &m_stop);
        if (m_stop) return;
        m_deliver(std::move(result));
    }
}

} // namespace plakett
