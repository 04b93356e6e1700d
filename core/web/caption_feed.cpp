#include "web/caption_feed.h"

#include "common/field_parallel.h"

#include <stdexcept>

namespace plakett {

namespace {

std::string spelled(const char* call, const std::string& text, const CaptionFont& font) {
    return std::string(call) + '\n' + text + '\n' + font.faceName + '\n' +
           std::to_string(font.cellHeight) + ' ' + std::to_string(font.weight) + ' ' +
           std::to_string(font.italic) + ' ' + std::to_string(font.underline) + ' ' +
           std::to_string(font.angle);
}

} // namespace

RecordedCaptions::Answer& RecordedCaptions::answer(std::string question) {
    if (m_source != nullptr) {
        m_answers.push_back({std::move(question), {}, {}, 0, {}});
        return m_answers.back();
    }
    for (Answer& a : m_answers)
        if (a.question == question) return a;
    throw std::logic_error("a caption was asked for that was not drawn beforehand");
}

CaptionExtent RecordedCaptions::measure(const std::string& text, const CaptionFont& font) {
    Answer& a = answer(spelled("measure", text, font));
    if (m_source != nullptr) a.extent = m_source->measure(text, font);
    return a.extent;
}

CaptionCoverage RecordedCaptions::rasterize(const std::string& text, const CaptionFont& font,
                                            const CaptionRect& clip) {
    Answer& a = answer(spelled("rasterize", text, font) + ' ' + std::to_string(clip.left) + ' ' +
                       std::to_string(clip.top) + ' ' + std::to_string(clip.width) + ' ' +
                       std::to_string(clip.height));
    if (m_source != nullptr) a.coverage = m_source->rasterize(text, font, clip);
    return a.coverage;
}

double RecordedCaptions::emPixels(const CaptionFont& font) {
    Answer& a = answer(spelled("em", {}, font));
    if (m_source != nullptr) a.number = m_source->emPixels(font);
    return a.number;
}

std::string RecordedCaptions::missingCharacters(const std::string& text, const CaptionFont& font) {
    Answer& a = answer(spelled("missing", text, font));
    if (m_source != nullptr) a.text = m_source->missingCharacters(text, font);
    return a.text;
}

CaptionFeed::CaptionFeed(std::size_t count, std::size_t ahead,
                         std::function<std::unique_ptr<CaptionRasterizer>()> make, Prepare prepare)
    : m_count(count), m_ahead(std::max<std::size_t>(ahead, 1)), m_make(std::move(make)),
      m_prepare(std::move(prepare)), m_ready(count), m_errors(count) {
    // Without thread support the jobs are taken in order on the calling thread, which then
    // prepares each one as it takes it.
    if (threadsAvailable()) m_thread = std::thread([this] { run(); });
}

CaptionFeed::~CaptionFeed() {
    stop();
    if (m_thread.joinable()) m_thread.join();
}

void CaptionFeed::stop() {
    std::lock_guard lock(m_mutex);
    m_stopped = true;
    m_changed.notify_all();
}

void CaptionFeed::makeSource() {
    try {
        m_source = m_make ? m_make() : nullptr;
    } catch (...) {
        m_makeError = std::current_exception();
    }
    m_sourceMade = true;
}

void CaptionFeed::prepareOne(std::size_t job) {
    FedCaptions fed;
    std::exception_ptr error = m_makeError;
    if (!error && m_source) {
        try {
            fed.captions = std::make_unique<RecordedCaptions>(m_source.get());
            fed.warnings = m_prepare(job, fed.captions.get(), m_source.get());
            fed.captions->replay();
        } catch (...) {
            error = std::current_exception();
        }
    }
    std::lock_guard lock(m_mutex);
    m_ready[job] = std::move(fed);
    m_errors[job] = error;
    m_changed.notify_all();
}

void CaptionFeed::run() {
    makeSource();
    for (std::size_t job = 0; job < m_count; ++job) {
        {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [&] { return m_stopped || job < m_taken + m_ahead; });
            if (m_stopped) return;
        }
        prepareOne(job);
    }
}

FedCaptions CaptionFeed::take(std::size_t job) {
    if (!m_thread.joinable()) {
        if (!m_sourceMade) makeSource();
        prepareOne(job);
    }
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return m_stopped || m_ready[job].has_value(); });
    if (!m_ready[job]) throw std::runtime_error("the export was stopped");
    if (m_errors[job]) std::rethrow_exception(m_errors[job]);
    FedCaptions fed = std::move(*m_ready[job]);
    m_ready[job].reset();
    ++m_taken;
    m_changed.notify_all();
    return fed;
}

} // namespace plakett
