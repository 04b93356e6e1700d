#include "cli_run.h"

#include "support/png_decode.h"

#include "shape/shape_file.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <thread>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace plakett::clitest {

namespace {

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool startsWithName(const char* entry, const std::string& name) {
    return std::strncmp(entry, name.c_str(), name.size()) == 0 && entry[name.size()] == '=';
}

// The child's environment: ours, minus the named variables; the offscreen platform is
// forced unless the test removes it on purpose.
std::vector<std::string> childEnvironment(const std::vector<std::string>& unsetEnv) {
    std::vector<std::string> env;
    bool hasPlatform = false;
    for (char** e = environ; *e; ++e) {
        const bool removed =
            std::any_of(unsetEnv.begin(), unsetEnv.end(),
                        [&](const std::string& n) { return startsWithName(*e, n); });
        if (removed) continue;
        if (startsWithName(*e, "QT_QPA_PLATFORM")) hasPlatform = true;
        env.emplace_back(*e);
    }
    const bool platformRemoved =
        std::find(unsetEnv.begin(), unsetEnv.end(), "QT_QPA_PLATFORM") != unsetEnv.end();
    if (!hasPlatform && !platformRemoved) env.emplace_back("QT_QPA_PLATFORM=offscreen");
    return env;
}

std::vector<char*> pointers(std::vector<std::string>& strings) {
    std::vector<char*> p;
    for (std::string& s : strings)
        p.push_back(s.data());
    p.push_back(nullptr);
    return p;
}

} // namespace

TempDir::TempDir() {
    static std::atomic<int> counter{0};
    m_path = fs::temp_directory_path() /
             ("plakett_cli_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
    fs::remove_all(m_path);
    fs::create_directories(m_path);
}

TempDir::~TempDir() {
    std::error_code ignored;
    fs::remove_all(m_path, ignored);
}

static RunResult runCommand(std::vector<std::string> argStrings,
                            const std::vector<std::string>& unsetEnv, int seconds = 0) {
    TempDir streams;
    const fs::path outPath = streams / "stdout";
    const fs::path errPath = streams / "stderr";

    std::vector<std::string> envStrings = childEnvironment(unsetEnv);
    std::vector<char*> argv = pointers(argStrings);
    std::vector<char*> envp = pointers(envStrings);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) throw std::runtime_error("cannot start " + argStrings[0]);

    RunResult r;
    int status = 0;
    rusage usage{};
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    for (;;) {
        const pid_t done = ::wait4(pid, &status, seconds > 0 ? WNOHANG : 0, &usage);
        if (done == pid) break;
        if (done < 0 && errno != EINTR) throw std::runtime_error("wait4 failed");
        if (done == 0 && std::chrono::steady_clock::now() > deadline && !r.timedOut) {
            ::kill(pid, SIGKILL);
            r.timedOut = true;
        }
        if (done == 0) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    r.peakKb = usage.ru_maxrss;
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = readAll(outPath);
    r.err = readAll(errPath);
    return r;
}

RunResult runRender(const std::vector<std::string>& args,
                    const std::vector<std::string>& unsetEnv) {
    std::vector<std::string> command{PLAKETT_RENDER_EXE};
    command.insert(command.end(), args.begin(), args.end());
    return runCommand(std::move(command), unsetEnv);
}

RunResult runProgram(const std::vector<std::string>& command) {
    return runCommand(command, {});
}

RunResult runRenderLimited(const std::vector<std::string>& args, int memoryLimitMb) {
#if defined(__SANITIZE_ADDRESS__)
    // The address sanitizer reserves terabytes of address space, so no limit can apply.
    memoryLimitMb = 0;
#endif
    const std::string limit =
        memoryLimitMb > 0 ? "ulimit -v " + std::to_string(memoryLimitMb * 1024) + " && " : "";
    std::vector<std::string> command{"/bin/sh", "-c", limit + R"(exec "$0" "$@")",
                                     PLAKETT_RENDER_EXE};
    command.insert(command.end(), args.begin(), args.end());
    return runCommand(std::move(command), {});
}

RunResult runRenderBounded(const std::vector<std::string>& args, const RunLimits& limits) {
    int memoryLimitMb = limits.memoryLimitMb;
#if defined(__SANITIZE_ADDRESS__)
    memoryLimitMb = 0;
#endif
    const std::string limit =
        memoryLimitMb > 0 ? "ulimit -v " + std::to_string(memoryLimitMb * 1024) + " && " : "";
    std::vector<std::string> command{"/bin/sh", "-c", limit + R"(exec "$0" "$@")"};
    if (limits.unprivileged)
        for (const char* a : {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"})
            command.emplace_back(a);
    command.emplace_back(PLAKETT_RENDER_EXE);
    command.insert(command.end(), args.begin(), args.end());
    return runCommand(std::move(command), {}, limits.seconds);
}

std::vector<std::string> folderEntries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::uint8_t> fileBytes(const fs::path& path) {
    const std::string s = readAll(path);
    return {s.begin(), s.end()};
}

void writeBytes(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

void writeText(const fs::path& path, const std::string& text) {
    writeBytes(path, {text.begin(), text.end()});
}

Rgba8Image decodePng(const std::vector<std::uint8_t>& bytes) {
    return testsupport::decodePng(bytes);
}

fs::path shippedShape(const std::string& relative) {
    return fs::path(PLAKETT_TEST_DATA) / ".." / ".." / "data" / relative;
}

fs::path testData(const std::string& relative) {
    return fs::path(PLAKETT_TEST_DATA) / relative;
}

ProjectDocument pillProject() {
    ProjectDocument doc;
    LoadFromFile(shippedShape("Buttons/Pill.shp"), doc.points);
    return doc;
}

int maxChannelDifference(const Bgr24Image& a, const Bgr24Image& b) {
    if (a.width() != b.width() || a.height() != b.height()) return INT_MAX;
    int worst = 0;
    for (std::size_t i = 0; i < a.pixels().size(); ++i) {
        const Bgr24 p = a.pixels()[i];
        const Bgr24 q = b.pixels()[i];
        worst = std::max({worst, std::abs(p.b - q.b), std::abs(p.g - q.g), std::abs(p.r - q.r)});
    }
    return worst;
}

} // namespace plakett::clitest
