#include "common/write_targets.h"

#include "common/file_write.h"

#include <atomic>
#include <cerrno>
#include <charconv>
#include <stdexcept>
#include <string_view>
#include <system_error>

#include <signal.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace plakett {

namespace {

constexpr std::size_t kMaxNameBytes = 255;
constexpr int kMaxLinkHops = 40; // as the system itself allows

[[noreturn]] void refuse(const std::filesystem::path& target, const std::string& reason) {
    throw std::runtime_error("Cannot write file " + quotedPath(target) + ": " + reason);
}

std::string systemReason(int err) {
    return std::generic_category().message(err);
}

// The writer's process id in a leftover's name ".NAME.tmp-PID-N", or 0 for other names.
pid_t leftoverOwner(std::string_view name) {
    if (name.size() < 2 || name[0] != '.') return 0;
    const std::size_t lastDash = name.rfind('-');
    if (lastDash == std::string_view::npos || lastDash + 1 == name.size()) return 0;
    const std::size_t pidDash = name.rfind('-', lastDash - 1);
    if (pidDash == std::string_view::npos || pidDash < 5) return 0;
    const std::string_view tagged = name.substr(0, pidDash);
    if (!tagged.ends_with(".tmp") && !tagged.ends_with(".keep")) return 0;
    unsigned counter = 0;
    const std::string_view n = name.substr(lastDash + 1);
    if (std::from_chars(n.data(), n.data() + n.size(), counter).ptr != n.data() + n.size())
        return 0;
    pid_t pid = 0;
    const std::string_view p = name.substr(pidDash + 1, lastDash - pidDash - 1);
    const auto parsed = std::from_chars(p.data(), p.data() + p.size(), pid);
    if (parsed.ec != std::errc() || parsed.ptr != p.data() + p.size() || pid <= 0) return 0;
    return pid;
}

} // namespace

std::filesystem::path hiddenSibling(const std::filesystem::path& file, const char* tag) {
    static std::atomic<unsigned> counter{0};
    const std::string suffix =
        std::string(".") + tag + "-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
    std::string name = file.filename().string();
    const std::size_t room = kMaxNameBytes - 1 - suffix.size();
    if (name.size() > room) {
        std::size_t cut = room;
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80)
            --cut;
        name.resize(cut);
    }
    return file.parent_path() / ("." + name + suffix);
}

std::filesystem::path linkedFile(const std::filesystem::path& target) {
    std::filesystem::path file = target;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        std::error_code ec;
        if (!std::filesystem::is_symlink(std::filesystem::symlink_status(file, ec))) return file;
        const std::filesystem::path to = std::filesystem::read_symlink(file, ec);
        if (ec) refuse(target, systemReason(ec.value()));
        file = to.is_absolute() ? to : file.parent_path() / to;
    }
    refuse(target, systemReason(ELOOP));
}

void checkWritable(const std::filesystem::path& target, const std::filesystem::path& file) {
    if (file.filename().empty()) refuse(target, "no file name");
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(file, ec);
    if (std::filesystem::is_directory(status)) refuse(target, "it is a folder");
    if (std::filesystem::exists(status) && ::access(file.c_str(), W_OK) != 0)
        refuse(target, "the file may not be written (" + systemReason(errno) + ")");
    std::filesystem::path folder = file.parent_path();
    if (folder.empty()) folder = ".";
    if (std::filesystem::is_directory(folder, ec) && ::access(folder.c_str(), W_OK | X_OK) != 0)
        refuse(target, "its folder " + quotedPath(folder) + " may not be written (" +
                           systemReason(errno) + ")");
}

std::vector<std::filesystem::path> missingFolders(const std::filesystem::path& file) {
    std::vector<std::filesystem::path> missing;
    std::error_code ec;
    for (std::filesystem::path f = file.parent_path(); !f.empty() && f != f.root_path();
         f = f.parent_path()) {
        if (std::filesystem::exists(std::filesystem::symlink_status(f, ec))) break;
        missing.insert(missing.begin(), f);
    }
    return missing;
}

void removeStaleLeftovers(const std::filesystem::path& folder) {
    std::error_code ec;
    std::filesystem::directory_iterator it(folder.empty() ? "." : folder, ec);
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        const std::filesystem::path& p = it->path();
        const pid_t owner = leftoverOwner(p.filename().native());
        if (owner == 0 || owner == ::getpid()) continue;
        if (::kill(owner, 0) == 0 || errno != ESRCH) continue; // alive, or not ours to judge
        std::error_code ignored;
        if (std::filesystem::is_regular_file(std::filesystem::symlink_status(p, ignored)))
            std::filesystem::remove(p, ignored);
    }
}

std::uintmax_t freeBytes(const std::filesystem::path& folder) {
    struct statvfs fs {};
    if (::statvfs(folder.empty() ? "." : folder.c_str(), &fs) != 0) return UINTMAX_MAX;
    return static_cast<std::uintmax_t>(fs.f_bavail) * fs.f_frsize;
}

} // namespace plakett
