#include "common/write_journal.h"

#include <array>
#include <cerrno>
#include <cstdio>

#include <pthread.h>
#include <signal.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace plakett {

namespace {

constexpr std::array kUndoSignals{SIGINT, SIGTERM, SIGHUP};

Journal* volatile g_journal = nullptr;
volatile pid_t g_writerThread = 0;
struct sigaction g_previous[kUndoSignals.size()];
struct sigaction g_previousFileSize;

// 0 where the process has a single thread (the WebAssembly build): nothing to pass on.
pid_t currentThread() {
#if defined(PLAKETT_ONE_THREAD) || defined(__EMSCRIPTEN__)
    return 0;
#else
    return static_cast<pid_t>(::syscall(SYS_gettid));
#endif
}

void passSignalOn(pid_t thread, int sig) {
#if defined(PLAKETT_ONE_THREAD) || defined(__EMSCRIPTEN__)
    (void)thread;
    (void)sig;
#else
    ::syscall(SYS_tgkill, ::getpid(), thread, sig);
#endif
}

sigset_t undoSignalSet() {
    sigset_t set;
    sigemptyset(&set);
    for (const int sig : kUndoSignals)
        sigaddset(&set, sig);
    return set;
}

void onUndoSignal(int sig) {
    const int savedErrno = errno;
    const pid_t writer = g_writerThread;
    if (writer != 0 && writer != currentThread()) {
        passSignalOn(writer, sig);
        errno = savedErrno;
        return;
    }
    if (Journal* journal = g_journal) rollBackJournal(*journal);
    // Let the signal do what it would have done without us.
    for (std::size_t i = 0; i < kUndoSignals.size(); ++i)
        if (kUndoSignals[i] == sig) sigaction(sig, &g_previous[i], nullptr);
    raise(sig);
    errno = savedErrno;
}

} // namespace

void rollBackJournal(Journal& journal) noexcept {
    for (JournalEntry& e : journal.entries) {
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
    for (std::size_t i = journal.folders.size(); i-- > 0;) {
        JournalFolder& f = journal.folders[i];
        if (f.made) ::rmdir(f.path.c_str()); // fails, as it should, when not empty
        f.made = 0;
    }
}

JournalSignalGuard::JournalSignalGuard(Journal& journal) {
    g_journal = &journal;
    g_writerThread = currentThread();
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
    g_journal = nullptr;
    g_writerThread = 0;
}

UndoSignalsHeld::UndoSignalsHeld() {
    const sigset_t set = undoSignalSet();
    pthread_sigmask(SIG_BLOCK, &set, &m_previous);
}

UndoSignalsHeld::~UndoSignalsHeld() {
    pthread_sigmask(SIG_SETMASK, &m_previous, nullptr);
}

void blockUndoSignalsOnThisThread() {
    const sigset_t set = undoSignalSet();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

} // namespace plakett
