#include "common/file_write.h"

#include "common/write_journal.h"
#include "common/write_targets.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <map>
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

std::filesystem::path folderOf(const std::filesystem::path& file) {
    std::error_code ec;
    return std::filesystem::absolute(file, ec).parent_path().lexically_normal();
}

// Writers to one folder take turns: an exclusive lock on the folder itself, so nothing is
// left behind. Folders that cannot be opened are written without it.
class FolderLocks {
  public:
    explicit FolderLocks(const std::set<std::string>& folders) {
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

// Opens a new temporary beside the file; the journal knows its name before it exists.
int createTemporary(const std::filesystem::path& file, std::size_t index, JournalEntry& entry) {
    int err = injectedFault(WriteStep::Create, index);
    for (int attempt = 0; !err && attempt < 16; ++attempt) {
        std::string name = hiddenSibling(file, "tmp").string();
        UndoSignalsHeld held;
        entry.temp = std::move(name);
        entry.tempExists = 1;
        const int fd = ::open(entry.temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) return fd;
        entry.tempExists = 0;
        if (errno != EEXIST) err = errno;
    }
    errno = err ? err : EEXIST;
    return -1;
}

bool linksUnsupported(int err) {
    return err == EPERM || err == EXDEV || err == ENOTSUP || err == EMLINK || err == ENOSYS;
}

// A second name for the old file, so that the file itself is never moved away.
int keepOld(std::size_t index, JournalEntry& entry) {
    int err = injectedFault(WriteStep::Keep, index);
    for (int attempt = 0; !err && attempt < 16; ++attempt) {
        std::string name = hiddenSibling(entry.target, "keep").string();
        {
            UndoSignalsHeld held;
            entry.keep = std::move(name);
            entry.keepExists = 1;
            if (::link(entry.target.c_str(), entry.keep.c_str()) == 0) return 0;
            err = errno;
            entry.keepExists = 0;
        }
        if (err == ENOENT) return 0; // no old file: nothing to keep
        if (linksUnsupported(err)) {
            std::error_code ec;
            entry.keepExists = 1;
            std::filesystem::copy_file(entry.target, entry.keep, ec);
            if (!ec) return 0;
            entry.keepExists = 0;
            // Where links are unsupported (WebAssembly's file systems) a missing target
            // shows only here.
            if (ec.value() == ENOENT) return 0;
            err = ec.value();
        }
        if (err == EEXIST) err = 0;
    }
    return err ? err : EEXIST;
}

int place(std::size_t index, JournalEntry& entry) {
    entry.placing = 1;
    int err = injectedFault(WriteStep::Place, index);
    if (!err && ::rename(entry.temp.c_str(), entry.target.c_str()) != 0) err = errno;
    if (!err) entry.tempExists = 0;
    return err;
}

} // namespace

struct FileSetWriter::State {
    std::vector<std::filesystem::path> targets; // as given, for messages
    std::vector<bool> staged;
    std::map<std::string, std::vector<std::size_t>> indexOf;
    std::set<std::string> folders;
    std::unique_lock<std::mutex> processTurn{g_writeMutex};
    Journal journal;
    std::unique_ptr<JournalSignalGuard> signals;
    std::unique_ptr<FolderLocks> folderTurn;
    bool done = false;

    void makeFolders();
    // Done, one way or the other: other writers may have their turn.
    void release() {
        signals.reset();
        folderTurn.reset();
        if (processTurn.owns_lock()) processTurn.unlock();
    }
    void stageAt(std::size_t i, std::span<const std::uint8_t> bytes);
    void replaceAll();
};

void FileSetWriter::State::makeFolders() {
    std::set<std::filesystem::path> wanted;
    for (const JournalEntry& e : journal.entries)
        for (const std::filesystem::path& f : missingFolders(e.target))
            wanted.insert(f);
    // Reserved first: the journal must not move while a signal may read it.
    journal.folders.reserve(wanted.size());
    for (const std::filesystem::path& f : wanted) { // parents sort before their children
        journal.folders.push_back({f.string()});
        JournalFolder& folder = journal.folders.back();
        UndoSignalsHeld held;
        folder.made = 1;
        if (::mkdir(folder.path.c_str(), 0777) == 0) continue;
        const int err = errno;
        folder.made = 0;
        if (err == EEXIST) continue; // made meanwhile by someone else
        std::size_t target = 0;
        while (journal.entries[target].target.rfind(folder.path, 0) != 0)
            ++target;
        failWrite(targets[target], "cannot make the folder " + quotedPath(f) + " (" +
                                       systemReason(err) + ")");
    }
}

FileSetWriter::FileSetWriter(const std::vector<std::filesystem::path>& targets,
                             MissingFolders folders)
    : m_state(std::make_unique<State>()) {
    State& s = *m_state;
    s.targets = targets;
    s.staged.assign(targets.size(), false);
    s.journal.entries.resize(targets.size());
    for (std::size_t i = 0; i < targets.size(); ++i) {
        const std::filesystem::path file = linkedFile(targets[i]);
        checkWritable(targets[i], file);
        s.journal.entries[i].target = file.string();
        s.indexOf[targets[i].string()].push_back(i);
    }
    s.signals = std::make_unique<JournalSignalGuard>(s.journal);
    try {
        if (folders == MissingFolders::Make) s.makeFolders();
    } catch (...) {
        rollBackJournal(s.journal);
        throw;
    }
    for (const JournalEntry& e : s.journal.entries)
        s.folders.insert(folderOf(e.target).string());
    s.folderTurn = std::make_unique<FolderLocks>(s.folders);
    for (const std::string& folder : s.folders)
        removeStaleLeftovers(folder);
}

FileSetWriter::~FileSetWriter() {
    if (!m_state->done) rollBackJournal(m_state->journal);
    m_state->release();
}

void FileSetWriter::requireFreeSpace(std::uintmax_t bytes) {
    for (const std::string& folder : m_state->folders) {
        const std::uintmax_t free = freeBytes(folder);
        if (free >= bytes) continue;
        constexpr std::uintmax_t kMiB = 1 << 20;
        throw std::runtime_error("Cannot write the files in " + quotedPath(folder) + ": they need about " +
                                 std::to_string((bytes + kMiB - 1) / kMiB) + " MB and " +
                                 std::to_string(free / kMiB) + " MB are free there");
    }
}

void FileSetWriter::State::stageAt(std::size_t i, std::span<const std::uint8_t> bytes) {
    JournalEntry& entry = journal.entries[i];
    struct stat old {};
    const bool exists = ::stat(entry.target.c_str(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode)) failWrite(targets[i], "it is a folder");
    const int fd = createTemporary(entry.target, i, entry);
    if (fd < 0) failWrite(targets[i], systemReason(errno));
    int err = injectedFault(WriteStep::Write, i);
    if (!err && exists) err = ::fchmod(fd, old.st_mode & 07777) == 0 ? 0 : errno;
    if (!err) err = writeAll(fd, bytes);
    // A rename that reaches the disk before the data would leave an empty file after a crash.
    if (!err && ::fsync(fd) != 0) err = errno;
    if (::close(fd) != 0 && !err) err = errno;
    if (err) failWrite(targets[i], systemReason(err));
}

void FileSetWriter::stage(const std::filesystem::path& target,
                          std::span<const std::uint8_t> bytes) {
    State& s = *m_state;
    if (s.done) throw std::logic_error("the file set is already written");
    const auto found = s.indexOf.find(target.string());
    std::size_t i = s.targets.size();
    if (found != s.indexOf.end())
        for (const std::size_t candidate : found->second)
            if (!s.staged[candidate]) {
                i = candidate;
                break;
            }
    if (i == s.targets.size())
        throw std::logic_error("not a target of this file set: " + target.string());
    try {
        s.stageAt(i, bytes);
    } catch (...) {
        rollBackJournal(s.journal);
        s.done = true;
        s.release();
        throw;
    }
    s.staged[i] = true;
}

void FileSetWriter::State::replaceAll() {
    for (std::size_t i = 0; i < journal.entries.size(); ++i)
        if (const int err = keepOld(i, journal.entries[i])) failWrite(targets[i], systemReason(err));
    for (std::size_t i = 0; i < journal.entries.size(); ++i)
        if (const int err = place(i, journal.entries[i])) failWrite(targets[i], systemReason(err));
}

void FileSetWriter::commit() {
    State& s = *m_state;
    if (s.done) throw std::logic_error("the file set is already written");
    if (std::find(s.staged.begin(), s.staged.end(), false) != s.staged.end())
        throw std::logic_error("a file of the set was never staged");
    s.done = true;
    try {
        s.replaceAll();
    } catch (...) {
        rollBackJournal(s.journal);
        s.release();
        throw;
    }
    // Complete: from here on a signal must not undo anything.
    for (JournalEntry& e : s.journal.entries)
        e.placing = 0;
    for (JournalFolder& f : s.journal.folders)
        f.made = 0;
    for (JournalEntry& e : s.journal.entries)
        if (e.keepExists) {
            ::unlink(e.keep.c_str());
            e.keepExists = 0;
        }
    s.release();
}

void writeFilesTogether(const std::vector<FileContent>& files) {
    std::vector<std::filesystem::path> targets;
    for (const FileContent& f : files)
        targets.push_back(f.path);
    FileSetWriter writer(targets);
    for (const FileContent& f : files)
        writer.stage(f.path, f.bytes);
    writer.commit();
}

void setWriteFaultHook(WriteFaultHook hook) {
    g_faultHook = hook;
}

void writeFileAtomically(const std::filesystem::path& target, std::span<const std::uint8_t> bytes) {
    writeFilesTogether({FileContent{target, {bytes.begin(), bytes.end()}}});
}

} // namespace plakett
