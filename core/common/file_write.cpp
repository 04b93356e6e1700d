#include "common/file_write.h"

#include "common/write_journal.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <mutex>
#include <set>
#include <stdexcept>
#include <system_error>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plakett {

namespace {

std::atomic<WriteFaultHook> g_faultHook{nullptr};

// errno for a step, or 0; the test seam can make any step fail.
int injectedFault(WriteStep step, std::size_t index) {
    const WriteFaultHook hook = g_faultHook.load();
    return hook ? hook(step, index) : 0;
}

std::string systemReason(int err) {
    return std::generic_category().message(err);
}

[[noreturn]] void failWrite(const std::filesystem::path& target, const std::string& reason) {
    throw std::runtime_error("Cannot write file " + quotedPath(target) + ": " + reason);
}

constexpr std::size_t kMaxNameBytes = 255;

// ".NAME.<tag>-<pid>-<n>" beside the target, the name shortened (at a character boundary)
// so that the whole stays within the file-name limit.
std::filesystem::path hiddenSibling(const std::filesystem::path& target, const char* tag) {
    static std::atomic<unsigned> counter{0};
    const std::string suffix =
        std::string(".") + tag + "-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
    std::string name = target.filename().string();
    const std::size_t room = kMaxNameBytes - 1 - suffix.size();
    if (name.size() > room) {
        std::size_t cut = room;
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80)
            --cut;
        name.resize(cut);
    }
    return target.parent_path() / ("." + name + suffix);
}

// Writers to one folder take turns: an exclusive lock on the folder itself, so nothing is
// left behind. Folders that cannot be opened are written without it.
class FolderLocks {
  public:
    explicit FolderLocks(const std::vector<FileContent>& files) {
        std::set<std::string> folders;
        for (const FileContent& f : files) {
            std::error_code ec;
            std::filesystem::path dir = std::filesystem::absolute(f.path, ec).parent_path();
            folders.insert(dir.lexically_normal().string());
        }
        for (const std::string& dir : folders) { // sorted, so two writers cannot deadlock
            const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (fd < 0) continue;
            while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
            }
            m_fds.push_back(fd);
        }
    }
    ~FolderLocks() {
        for (const int fd : m_fds)
            ::close(fd); // releases the lock
    }
    FolderLocks(const FolderLocks&) = delete;
    FolderLocks& operator=(const FolderLocks&) = delete;

  private:
    std::vector<int> m_fds;
};

// One writer per process at a time: the signal handlers reach a single journal.
std::mutex g_writeMutex;

int writeAll(int fd, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return n < 0 ? errno : EIO;
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

// The complete new content in a temporary beside the target, with the target's permission
// bits when it exists.
void stage(const FileContent& f, std::size_t index, JournalEntry& entry) {
    if (f.path.filename().empty()) failWrite(f.path, "no file name");
    struct stat old {};
    const bool exists = ::stat(f.path.c_str(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode)) failWrite(f.path, "it is a folder");
    entry.target = f.path.string();
    int fd = -1;
    int err = injectedFault(WriteStep::Create, index);
    for (int attempt = 0; !err && fd < 0 && attempt < 16; ++attempt) {
        entry.temp = hiddenSibling(f.path, "tmp").string();
        fd = ::open(entry.temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) err = errno;
    }
    if (fd < 0) failWrite(f.path, systemReason(err ? err : EEXIST));
    entry.tempExists = 1;
    err = injectedFault(WriteStep::Write, index);
    if (!err && exists) err = ::fchmod(fd, old.st_mode & 07777) == 0 ? 0 : errno;
    if (!err) err = writeAll(fd, {f.bytes.data(), f.bytes.size()});
    // A rename that reaches the disk before the data would leave an empty file after a crash.
    if (!err && ::fsync(fd) != 0) err = errno;
    if (::close(fd) != 0 && !err) err = errno;
    if (err) failWrite(f.path, systemReason(err));
}

bool linksUnsupported(int err) {
    return err == EPERM || err == EXDEV || err == ENOTSUP || err == EMLINK || err == ENOSYS;
}

// A second name for the old target, so that the target itself is never moved away.
void keepOld(const std::filesystem::path& target, std::size_t index, JournalEntry& entry) {
    int err = injectedFault(WriteStep::Keep, index);
    for (int attempt = 0; !err && attempt < 16; ++attempt) {
        entry.keep = hiddenSibling(target, "keep").string();
        if (::link(entry.target.c_str(), entry.keep.c_str()) == 0) {
            entry.keepExists = 1;
            return;
        }
        err = errno;
        if (err == ENOENT) return; // no old file: nothing to keep
        if (linksUnsupported(err)) {
            std::error_code ec;
            std::filesystem::copy_file(entry.target, entry.keep, ec);
            if (!ec) {
                entry.keepExists = 1;
                return;
            }
            // Where links are unsupported (WebAssembly's file systems) a missing target
            // shows only here.
            if (ec.value() == ENOENT) return;
            err = ec.value();
        }
        if (err == EEXIST) err = 0;
    }
    failWrite(target, systemReason(err ? err : EEXIST));
}

void place(const std::filesystem::path& target, std::size_t index, JournalEntry& entry) {
    entry.placing = 1;
    int err = injectedFault(WriteStep::Place, index);
    if (!err && ::rename(entry.temp.c_str(), entry.target.c_str()) != 0) err = errno;
    if (err) failWrite(target, systemReason(err));
    entry.tempExists = 0;
}

void writeJournaled(const std::vector<FileContent>& files, std::vector<JournalEntry>& journal) {
    for (std::size_t i = 0; i < files.size(); ++i)
        stage(files[i], i, journal[i]);
    for (std::size_t i = 0; i < files.size(); ++i)
        keepOld(files[i].path, i, journal[i]);
    for (std::size_t i = 0; i < files.size(); ++i)
        place(files[i].path, i, journal[i]);
}

} // namespace

void setWriteFaultHook(WriteFaultHook hook) {
    g_faultHook = hook;
}

void writeFilesTogether(const std::vector<FileContent>& files) {
    std::lock_guard<std::mutex> processTurn(g_writeMutex);
    FolderLocks folderTurn(files);
    std::vector<JournalEntry> journal(files.size());
    JournalSignalGuard signals(journal);
    try {
        writeJournaled(files, journal);
    } catch (...) {
        rollBackJournal(journal);
        throw;
    }
    // Complete: from here on a signal must not undo anything.
    for (JournalEntry& e : journal)
        e.placing = 0;
    for (JournalEntry& e : journal)
        if (e.keepExists) {
            ::unlink(e.keep.c_str());
            e.keepExists = 0;
        }
}

void writeFileAtomically(const std::filesystem::path& target, std::span<const std::uint8_t> bytes) {
    writeFilesTogether({FileContent{target, {bytes.begin(), bytes.end()}}});
}

} // namespace plakett
