// What a write of several files has done so far, kept where a signal handler can undo it
// with nothing but unlink and rename.
#pragma once

#include <csignal>
#include <string>
#include <vector>

namespace plakett {

struct JournalEntry {
    std::string target;
    std::string temp; // the staged new content
    std::string keep; // a second name of the old file, made before the new one is placed
    volatile std::sig_atomic_t tempExists = 0;
    volatile std::sig_atomic_t keepExists = 0;
    volatile std::sig_atomic_t placing = 0; // the rename over the target has begun
};

// Undoes the journal's writes: kept files go back over their targets, targets that did not
// exist before are removed, temporaries go. Only async-signal-safe calls.
void rollBackJournal(std::vector<JournalEntry>& entries) noexcept;

// While alive, SIGINT, SIGTERM and SIGHUP roll the journal back before the process ends as
// the signal asks, and SIGXFSZ is ignored so that a write past the size limit fails with
// EFBIG instead of ending the process. One guard at a time per process.
class JournalSignalGuard {
  public:
    explicit JournalSignalGuard(std::vector<JournalEntry>& entries);
    ~JournalSignalGuard();
    JournalSignalGuard(const JournalSignalGuard&) = delete;
    JournalSignalGuard& operator=(const JournalSignalGuard&) = delete;
};

} // namespace plakett
