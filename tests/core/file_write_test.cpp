// The writer of file sets: faults at every step, signals, the size limit and concurrent
// writers must never leave a target missing, half-written or mixed with a temporary.
#include "common/file_write.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>

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
        // Nothing can run after SIGKILL: targets stay complete, hidden leftovers may remain.
        EXPECT_EQ(content(s.dir / "b_off.bmp"), "new");
        EXPECT_EQ(content(s.dir / "b_down.bmp"), "new");
        EXPECT_FALSE(fs::exists(s.dir / "b_over.bmp"));
    }
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
