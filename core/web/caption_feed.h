// Captions for many renders, drawn on one thread in a fixed order.
//
// A font engine keeps caches (glyph metrics, fallback faces) per thread, and what a caption
// looks like can depend on what that thread drew before it. Drawing every caption of a set
// on one thread, in job order, gives the same bytes on every run whatever the number of
// render threads; the renders then replay what was drawn.
#pragma once

#include "render/caption_rasterizer.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace plakett {

// Records the answers of a rasterizer while recording, and gives the same answer to the
// same question, as often as it is asked, once replaying. A question that was not recorded
// throws std::logic_error.
class RecordedCaptions : public CaptionRasterizer {
  public:
    explicit RecordedCaptions(CaptionRasterizer* source) : m_source(source) {}
    void replay() { m_source = nullptr; }

    CaptionExtent measure(const std::string& text, const CaptionFont& font) override;
    CaptionCoverage rasterize(const std::string& text, const CaptionFont& font,
                              const CaptionRect& clip) override;
    double emPixels(const CaptionFont& font) override;
    std::string missingCharacters(const std::string& text, const CaptionFont& font) override;

  private:
    struct Answer {
        std::string question; // the call and its arguments, spelled out
        CaptionExtent extent;
        CaptionCoverage coverage;
        double number = 0;
        std::string text;
    };
    Answer& answer(std::string question);

    CaptionRasterizer* m_source;
    std::deque<Answer> m_answers;
};

// What one job needs: its recorded captions and the warnings found for it.
struct FedCaptions {
    std::unique_ptr<RecordedCaptions> captions; // null without a rasterizer
    std::vector<std::string> warnings;
};

// Runs `prepare(job, recorder, rasterizer)` for jobs 0..count-1 in order on a thread of its
// own (on the taking thread in a build without threads, jobs then being taken in order), with one rasterizer made there by `make`, at most `ahead` jobs before the ones
// taken. What prepare asks the recorder, the job's render is to ask again; what it asks the
// rasterizer directly (warnings) is not replayed. Without a rasterizer nothing is prepared.
class CaptionFeed {
  public:
    using Prepare = std::function<std::vector<std::string>(std::size_t, CaptionRasterizer*,
                                                           CaptionRasterizer*)>;
    CaptionFeed(std::size_t count, std::size_t ahead,
                std::function<std::unique_ptr<CaptionRasterizer>()> make, Prepare prepare);
    ~CaptionFeed();
    CaptionFeed(const CaptionFeed&) = delete;
    CaptionFeed& operator=(const CaptionFeed&) = delete;

    // Waits for the job's captions, ready to replay; rethrows what preparing it threw.
    FedCaptions take(std::size_t job);
    // Stops preparing (after a failed render).
    void stop();

  private:
    void makeSource();
    void prepareOne(std::size_t job);
    void run();

    std::size_t m_count;
    std::size_t m_ahead;
    std::function<std::unique_ptr<CaptionRasterizer>()> m_make;
    Prepare m_prepare;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::optional<FedCaptions>> m_ready;
    std::vector<std::exception_ptr> m_errors;
    std::size_t m_taken = 0;
    bool m_stopped = false;
    std::unique_ptr<CaptionRasterizer> m_source; // used on the preparing thread only
    std::exception_ptr m_makeError;
    bool m_sourceMade = false;
    std::thread m_thread;
};

} // namespace plakett
