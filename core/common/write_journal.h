// What a write of several files has done so far, kept where a signal handler can undo it
// with nothing but unlink, rename and rmdir.
#pragma once

#include <csignal>
#include <string>
#include <vector>

namespace plakett {

// Each flag is set before the step it records is made (with the undo signals held off
// around the pair), so a signal between the two cannot leave an unrecorded file behind.
struct JournalEntry {
    std::string target;
    std::string temp; // the staged new content
    std::string keep; // a second name of the old file, made before the new one is placed
    volatile std::sig_atomic_t tempExists = 0;
    volatile std::sig_atomic_t keepExists = 0;
    volatile std::sig_atomic_t placing = 0; // the rename over the target has begun
};

// A folder the write created for its targets, removed again when the write is undone.
struct JournalFolder {
    std::string path;
    volatile std::sig_atomic_t made = 0;
};

struct Journal {
    std::vector<JournalEntry> entries;
    std::vector<JournalFolder> folders; // outermost first
};

// Undoes the journal's writes: kept files go back over their targets, targets that did not
// exist before are removed, temporaries go, then the folders it made (when empty). Only
// async-signal-safe calls.
void rollBackJournal(Journal& journal) noexcept;

// While alive, SIGINT, SIGTERM and SIGHUP roll the journal back before the process ends as
// the signal asks, and SIGXFSZ is ignored so that a write past the size limit fails with
// EFBIG instead of ending the process. The thread that makes the guard is the one that
// writes: a signal that reaches another thread is passed on to it, so the undo never runs
// beside a step of the write. One guard at a time per process.
class JournalSignalGuard {
  public:
    explicit JournalSignalGuard(Journal& journal);
    ~JournalSignalGuard();
    JournalSignalGuard(const JournalSignalGuard&) = delete;
    JournalSignalGuard& operator=(const JournalSignalGuard&) = delete;
};

// Holds SIGINT, SIGTERM and SIGHUP off the calling thread while alive, so that a step and
// the journal flag that records it happen together.
class UndoSignalsHeld {
  public:
    UndoSignalsHeld();
    ~UndoSignalsHeld();
    UndoSignalsHeld(const UndoSignalsHeld&) = delete;
    UndoSignalsHeld& operator=(const UndoSignalsHeld&) = delete;

  private:
    sigset_t m_previous;
};

// For threads that only compute: they never take these signals, which then reach the
// thread that writes.
void blockUndoSignalsOnThisThread();

} // namespace plakett
