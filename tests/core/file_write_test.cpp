// The writer of file sets: faults at every step, signals, the size limit and concurrent
// writers must never leave a target missing, half-written or mixed with a temporary.
#include "common/file_write.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <thread>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace plakett;
namespace fs = std::filesystem;

namespace {

struct Scratch {
    fs::path dir;
    Scratch() {
        std::random_device rd;
        dir = fs::temp_directory_path() / ("plakett_write_" + std::to_string(rd()));
        fs::create_directories(dir);
    }
    ~Scratch() {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
};

std::string content(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::set<std::string> entries(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dir))
        names.insert(e.path().filename().string());
    return names;
}

std::vector<FileContent> setOf(const fs::path& dir, const std::string& text,
                               bool newFileFirst = false) {
    std::vector<FileContent> files;
    for (const char* name : {"b_off.bmp", "b_down.bmp", "b_over.bmp"})
        files.push_back({dir / name, {text.begin(), text.end()}});
    if (newFileFirst) std::rotate(files.begin(), files.begin() + 2, files.end());
    return files;
}

// b_off and b_down exist with old content, b_over does not.
void writeOldFiles(const fs::path& dir) {
    std::ofstream(dir / "b_off.bmp") << "old off";
    std::ofstream(dir / "b_down.bmp") << "old down";
}

WriteStep g_failStep;
std::size_t g_failIndex;
int g_signal = 0; // raised instead of failing when set

int faultAt(WriteStep step, std::size_t index) {
    if (step != g_failStep || index != g_failIndex) return 0;
    if (g_signal) raise(g_signal);
    return ENOSPC;
}

struct HookScope {
    HookScope(WriteStep step, std::size_t index, int sig = 0) {
        g_failStep = step;
        g_failIndex = index;
        g_signal = sig;
        setWriteFaultHook(faultAt);
    }
    ~HookScope() { setWriteFaultHook(nullptr); }
};

void expectOldState(const fs::path& dir) {
    EXPECT_EQ(content(dir / "b_off.bmp"), "old off");
    EXPECT_EQ(content(dir / "b_down.bmp"), "old down");
    EXPECT_EQ(entries(dir), (std::set<std::string>{"b_down.bmp", "b_off.bmp"}));
}

} // namespace

TEST(FileWrite, EveryFailingStepRollsBackTheWholeSet) {
    const struct {
        WriteStep step;
        std::size_t index;
        bool newFileFirst = false; // b_over, which did not exist, is placed first
    } cases[] = {
        {WriteStep::Create, 0},      {WriteStep::Create, 2}, {WriteStep::Write, 1},
        {WriteStep::Keep, 0},        {WriteStep::Keep, 1},   {WriteStep::Place, 0},
        {WriteStep::Place, 1},       {WriteStep::Place, 2},  {WriteStep::Place, 1, true},
        {WriteStep::Place, 2, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "step " << int(c.step) << " file " << c.index
                                        << (c.newFileFirst ? " new file first" : ""));
        Scratch s;
        writeOldFiles(s.dir);
        HookScope hook(c.step, c.index);
        try {
            writeFilesTogether(setOf(s.dir, "new", c.newFileFirst));
            ADD_FAILURE() << "no error";
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find("No space left"), std::string::npos) << e.what();
        }
        expectOldState(s.dir);
    }
}

TEST(FileWrite, ReplacesKeepingPermissionsAndLongNames) {
    Scratch s;
    writeOldFiles(s.dir);
    fs::permissions(s.dir / "b_off.bmp", fs::perms::owner_read | fs::perms::owner_write);
    writeFilesTogether(setOf(s.dir, "new"));
    EXPECT_EQ(entries(s.dir), (std::set<std::string>{"b_down.bmp", "b_off.bmp", "b_over.bmp"}));
    EXPECT_EQ(content(s.dir / "b_over.bmp"), "new");
    EXPECT_EQ(fs::status(s.dir / "b_off.bmp").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);

    const fs::path longName = s.dir / (std::string(250, 'n') + ".bmp"); // 254 bytes
    for (int round = 0; round < 2; ++round)                             // create, then replace
        writeFileAtomically(longName, std::vector<std::uint8_t>(3, std::uint8_t('0' + round)));
    EXPECT_EQ(content(longName), "111");
}

// Each case runs in a child process, which the signal ends.
TEST(FileWrite, SignalsBetweenRenamesLeaveEveryTargetComplete) {
    for (const int sig : {SIGTERM, SIGINT, SIGHUP, SIGKILL}) {
        SCOPED_TRACE(sig);
        Scratch s;
        writeOldFiles(s.dir);
        const pid_t child = fork();
        if (child == 0) {
            HookScope hook(WriteStep::Place, 2, sig); // b_off and b_down already replaced
            try {
                writeFilesTogether(setOf(s.dir, "new"));
            } catch (...) {
            }
            _exit(0);
        }
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == sig) << status;
        if (sig != SIGKILL) {
            expectOldState(s.dir);
            continue;
        }
        // Nothing can run after SIGKILL: targets stay complete, hidden leftovers may remain
        // until the next write in the folder removes them.
        EXPECT_EQ(content(s.dir / "b_off.bmp"), "new");
        EXPECT_EQ(content(s.dir / "b_down.bmp"), "new");
        EXPECT_FALSE(fs::exists(s.dir / "b_over.bmp"));
        writeFileAtomically(s.dir / "other.bmp", std::vector<std::uint8_t>{'x'});
        EXPECT_EQ(entries(s.dir),
                  (std::set<std::string>{"b_down.bmp", "b_off.bmp", "other.bmp"}));
    }
}

// Signals at random moments of writes that follow each other: whatever the moment, no
// temporary or kept file stays and every target is complete.
TEST(FileWrite, NoSignalLeavesAFileBehind) {
    std::mt19937 random(23);
    for (int trial = 0; trial < 24; ++trial) {
        const int sig = std::array{SIGTERM, SIGINT, SIGHUP}[trial % 3];
        SCOPED_TRACE(testing::Message() << "trial " << trial << " signal " << sig);
        Scratch s;
        writeOldFiles(s.dir);
        const pid_t child = fork();
        if (child == 0) {
            for (int round = 0;; ++round)
                writeFilesTogether(setOf(s.dir, std::string(4000, char('a' + round % 26))));
        }
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 30000));
        kill(child, sig);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == sig) << status;
        for (const std::string& name : entries(s.dir)) {
            EXPECT_NE(name[0], '.') << name;
            const std::string text = content(s.dir / name);
            EXPECT_TRUE(text.rfind("old", 0) == 0 || text == std::string(4000, text[0])) << name;
        }
    }
}

// Where each target really goes, the folders it needs and the leftovers of dead writers
// are settled before the first byte; a set that is not committed leaves nothing.
TEST(FileWrite, TargetsAreSettledBeforeWriting) {
    Scratch s;
    const std::vector<std::uint8_t> bytes{'n', 'e', 'w'};
    fs::create_directory(s.dir / "real");
    std::ofstream(s.dir / "real" / "f.bmp") << "old";
    fs::create_symlink("real/f.bmp", s.dir / "link.bmp");
    fs::create_symlink("dangling.bmp", s.dir / "new_link.bmp");
    const pid_t gone = fork();
    if (gone == 0) _exit(0);
    waitpid(gone, nullptr, 0);
    const std::string dead = std::to_string(gone);
    const std::string alive = std::to_string(getpid());
    for (const std::string& name : {".x.bmp.tmp-" + dead + "-3", ".y.bmp.keep-" + dead + "-0",
                                    ".z.bmp.tmp-" + alive + "-999", std::string(".w.tmp-a-1")})
        std::ofstream(s.dir / name) << "left";

    FileSetWriter set({s.dir / "link.bmp", s.dir / "new_link.bmp", s.dir / "a" / "b" / "c.bmp"},
                      MissingFolders::Make);
    for (const char* name : {"link.bmp", "new_link.bmp", "a/b/c.bmp"})
        set.stage(s.dir / name, bytes);
    set.commit();
    EXPECT_TRUE(fs::is_symlink(s.dir / "link.bmp"));
    EXPECT_EQ(content(s.dir / "real" / "f.bmp"), "new");
    EXPECT_TRUE(fs::is_symlink(s.dir / "new_link.bmp"));
    EXPECT_EQ(content(s.dir / "dangling.bmp"), "new");
    EXPECT_EQ(content(s.dir / "a" / "b" / "c.bmp"), "new");
    EXPECT_EQ(entries(s.dir),
              (std::set<std::string>{".w.tmp-a-1", ".z.bmp.tmp-" + alive + "-999", "a",
                                     "dangling.bmp", "link.bmp", "new_link.bmp", "real"}));

    // Staged files are on disk at once; without a commit they go, with the folders made.
    {
        FileSetWriter writer({s.dir / "d" / "e.bmp", s.dir / "d" / "f.bmp"}, MissingFolders::Make);
        writer.stage(s.dir / "d" / "e.bmp", bytes);
        ASSERT_EQ(entries(s.dir / "d").size(), 1u);
        EXPECT_EQ(entries(s.dir / "d").begin()->rfind(".e.bmp.tmp-", 0), 0u);
    }
    EXPECT_FALSE(fs::exists(s.dir / "d"));
    HookScope hook(WriteStep::Place, 1);
    EXPECT_THROW(
        {
            FileSetWriter failing({s.dir / "g" / "h" / "i.bmp", s.dir / "g" / "j.bmp"},
                                  MissingFolders::Make);
            failing.stage(s.dir / "g" / "h" / "i.bmp", bytes);
            failing.stage(s.dir / "g" / "j.bmp", bytes);
            failing.commit();
        },
        std::runtime_error);
    EXPECT_FALSE(fs::exists(s.dir / "g"));
    // Saves of the desktop program do not make folders: a missing one is an error.
    EXPECT_THROW(writeFileAtomically(s.dir / "k" / "l.bmp", bytes), std::runtime_error);
    EXPECT_FALSE(fs::exists(s.dir / "k"));
}

// Run as nobody (the tests run as root, for whom every file is writable): a read-only
// target, one behind a link, and a read-only folder are refused and left as they were.
TEST(FileWrite, WhatTheUserMayNotWriteIsRefused) {
    if (getuid() != 0) GTEST_SKIP() << "needs root to become another user";
    Scratch s;
    fs::permissions(s.dir, fs::perms::all);
    std::ofstream(s.dir / "ro.bmp") << "old";
    fs::permissions(s.dir / "ro.bmp", fs::perms::owner_read | fs::perms::group_read |
                                          fs::perms::others_read);
    fs::create_symlink("ro.bmp", s.dir / "link.bmp");
    fs::create_directory(s.dir / "locked");
    fs::permissions(s.dir / "locked", fs::perms::owner_all | fs::perms::others_read |
                                          fs::perms::others_exec);
    const struct {
        fs::path target;
        const char* reason;
    } cases[] = {
        {s.dir / "ro.bmp", "the file may not be written"},
        {s.dir / "link.bmp", "the file may not be written"},
        {s.dir / "locked" / "new.bmp", "may not be written"},
        {s.dir / "locked" / "sub" / "new.bmp", "cannot make the folder"},
    };
    const pid_t child = fork();
    if (child == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0) _exit(100);
        int failed = 0;
        for (std::size_t i = 0; i < std::size(cases); ++i) {
            try {
                FileSetWriter writer({cases[i].target}, MissingFolders::Make);
                writer.stage(cases[i].target, std::vector<std::uint8_t>{'n'});
                writer.commit();
                failed |= 1 << i;
            } catch (const std::runtime_error& e) {
                if (std::string(e.what()).find(cases[i].reason) == std::string::npos)
                    failed |= 1 << i;
            }
        }
        _exit(failed);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "bit i: case i was not refused as expected";
    EXPECT_EQ(content(s.dir / "ro.bmp"), "old");
    EXPECT_TRUE(fs::is_symlink(s.dir / "link.bmp"));
    EXPECT_TRUE(fs::is_empty(s.dir / "locked"));
}

TEST(FileWrite, FileSizeLimitIsAnErrorNotADeath) {
    Scratch s;
    writeOldFiles(s.dir);
    const pid_t child = fork();
    if (child == 0) {
        const rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        try {
            writeFilesTogether(setOf(s.dir, std::string(10000, 'x')));
        } catch (const std::runtime_error& e) {
            _exit(std::string(e.what()).find("File too large") != std::string::npos ? 7 : 8);
        }
        _exit(9);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(WEXITSTATUS(status), 7);
    expectOldState(s.dir);
}

// Four processes write their own complete set again and again while this one reads: no
// target may ever be missing or partial, and the end state is one writer's whole set.
TEST(FileWrite, ConcurrentWritersNeverExposeAMissingOrMixedSet) {
    Scratch s;
    auto textOf = [](int writer) { return std::string(20000, char('A' + writer)); };
    for (const auto& f : setOf(s.dir, textOf(0)))
        writeFileAtomically(f.path, f.bytes);
    std::vector<pid_t> children;
    for (int w = 1; w <= 4; ++w) {
        const pid_t child = fork();
        if (child == 0) {
            int failures = 0;
            for (int round = 0; round < 25; ++round)
                try {
                    writeFilesTogether(setOf(s.dir, textOf(w)));
                } catch (...) {
                    ++failures;
                }
            _exit(failures);
        }
        children.push_back(child);
    }
    int bad = 0;
    for (int poll = 0; poll < 400; ++poll)
        for (const char* name : {"b_off.bmp", "b_down.bmp", "b_over.bmp"}) {
            const std::string text = content(s.dir / name);
            if (text.size() != 20000 || text != std::string(20000, text[0])) ++bad;
        }
    for (const pid_t child : children) {
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }
    EXPECT_EQ(bad, 0);
    const std::string off = content(s.dir / "b_off.bmp");
    EXPECT_EQ(content(s.dir / "b_down.bmp"), off);
    EXPECT_EQ(content(s.dir / "b_over.bmp"), off);
    EXPECT_EQ(entries(s.dir).size(), 3u);
}
