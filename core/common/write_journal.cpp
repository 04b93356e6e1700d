#include "common/write_journal.h"

#include <array>
#include <cerrno>
#include <cstdio>

#include <signal.h>
#include <unistd.h>

namespace plakett {

namespace {

constexpr std::array kUndoSignals{SIGINT, SIGTERM, SIGHUP};

std::vector<JournalEntry>* volatile g_entries = nullptr;
struct sigaction g_previous[kUndoSignals.size()];
struct sigaction g_previousFileSize;

void onUndoSignal(int sig) {
    const int savedErrno = errno;
    if (std::vector<JournalEntry>* entries = g_entries) rollBackJournal(*entries);
    // Let the signal do what it would have done without us.
    for (std::size_t i = 0; i < kUndoSignals.size(); ++i)
        if (kUndoSignals[i] == sig) sigaction(sig, &g_previous[i], nullptr);
    raise(sig);
    errno = savedErrno;
}

} // namespace

void rollBackJournal(std::vector<JournalEntry>& entries) noexcept {
    for (JournalEntry& e : entries) {
        if (e.placing) {
            if (e.keepExists) {
                // Also right when the rename never happened: renaming a second name of the
                // same file over it does nothing, and the unlink below removes it.
                ::rename(e.keep.c_str(), e.target.c_str());
            } else if (!e.tempExists || ::unlink(e.temp.c_str()) != 0) {
                ::unlink(e.target.c_str()); // new here, and the temporary had become it
            }
            e.placing = 0;
        }
        if (e.keepExists) ::unlink(e.keep.c_str());
        if (e.tempExists) ::unlink(e.temp.c_str());
        e.keepExists = 0;
        e.tempExists = 0;
    }
}

JournalSignalGuard::JournalSignalGuard(std::vector<JournalEntry>& entries) {
    g_entries = &entries;
    struct sigaction action {};
    action.sa_handler = onUndoSignal;
    sigfillset(&action.sa_mask);
    for (std::size_t i = 0; i < kUndoSignals.size(); ++i) {
        sigaction(kUndoSignals[i], nullptr, &g_previous[i]);
        // A signal the process ignores stays ignored.
        if (g_previous[i].sa_handler != SIG_IGN) sigaction(kUndoSignals[i], &action, nullptr);
    }
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignore, &g_previousFileSize);
}

JournalSignalGuard::~JournalSignalGuard() {
    sigaction(SIGXFSZ, &g_previousFileSize, nullptr);
    for (std::size_t i = 0; i < kUndoSignals.size(); ++i)
        sigaction(kUndoSignals[i], &g_previous[i], nullptr);
    g_entries = nullptr;
}

} // namespace plakett
