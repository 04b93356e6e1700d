#include "common/file_write.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <system_error>

#if defined(__unix__) || defined(__APPLE__)
#include <unistd.h>
#endif

namespace plakett {

namespace {

std::string systemReason(int err) {
    return std::generic_category().message(err);
}

// A name no other save is using at the same time; exclusive creation ("x") guards the rest.
std::filesystem::path temporaryPathFor(const std::filesystem::path& target, int attempt) {
    static std::atomic<unsigned> counter{0};
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    std::string name(1, '.');
    name += target.filename().string();
    name += ".tmp" + std::to_string(static_cast<unsigned long long>(ticks) % 1000000u) + "-" +
            std::to_string(counter++) + "-" + std::to_string(attempt);
    return target.parent_path() / name;
}

struct TempFile {
    std::filesystem::path path;
    std::FILE* file = nullptr;
    bool keep = false;

    ~TempFile() {
        if (file) std::fclose(file);
        if (!keep && !path.empty()) {
            std::error_code ignored;
            std::filesystem::remove(path, ignored);
        }
    }
};

[[noreturn]] void failWrite(const std::filesystem::path& target, const std::string& reason) {
    throw std::runtime_error("Cannot write file " + quotedPath(target) + ": " + reason);
}

void openTemporary(const std::filesystem::path& target, TempFile& temp) {
    int lastError = 0;
    for (int attempt = 0; attempt < 16; ++attempt) {
        const auto candidate = temporaryPathFor(target, attempt);
        errno = 0;
        std::FILE* f = std::fopen(candidate.string().c_str(), "wbx");
        if (f) {
            temp.path = candidate;
            temp.file = f;
            return;
        }
        lastError = errno;
        if (lastError != EEXIST) break;
    }
    failWrite(target, systemReason(lastError ? lastError : EIO));
}

void flushToDisk(const std::filesystem::path& target, TempFile& temp) {
    if (std::fflush(temp.file) != 0) failWrite(target, systemReason(errno));
#if defined(__unix__) || defined(__APPLE__)
    // A rename that reaches the disk before the data would leave an empty file after a crash.
    if (::fsync(fileno(temp.file)) != 0) failWrite(target, systemReason(errno));
#endif
    const int closed = std::fclose(temp.file);
    temp.file = nullptr;
    if (closed != 0) failWrite(target, systemReason(errno));
}

} // namespace

std::string quotedPath(const std::filesystem::path& path) {
    std::string text(1, '\'');
    text += path.string();
    text += '\'';
    return text;
}

void writeFileAtomically(const std::filesystem::path& target, std::span<const std::uint8_t> bytes) {
    if (target.filename().empty()) failWrite(target, "no file name");
    {
        std::error_code ec;
        if (std::filesystem::is_directory(target, ec)) failWrite(target, "it is a folder");
    }
    TempFile temp;
    openTemporary(target, temp);
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), temp.file) != bytes.size())
        failWrite(target, systemReason(errno ? errno : EIO));
    flushToDisk(target, temp);

    std::error_code ec;
    std::filesystem::rename(temp.path, target, ec);
    if (ec) failWrite(target, ec.message());
    temp.keep = true;
}

namespace {

// One target of writeFilesTogether: its staged content and, once moved aside, the file it
// replaces.
struct StagedTarget {
    TempFile content;
    std::filesystem::path backup;
    bool placed = false;
};

void undoPlacements(const std::vector<FileContent>& files, std::vector<StagedTarget>& staged) {
    for (std::size_t i = 0; i < files.size(); ++i) {
        std::error_code ignored;
        if (staged[i].placed) std::filesystem::remove(files[i].path, ignored);
        if (!staged[i].backup.empty()) {
            std::filesystem::rename(staged[i].backup, files[i].path, ignored);
            staged[i].backup.clear();
        }
    }
}

} // namespace

void writeFilesTogether(const std::vector<FileContent>& files) {
    std::vector<StagedTarget> staged(files.size());
    for (std::size_t i = 0; i < files.size(); ++i) {
        const FileContent& f = files[i];
        std::error_code ec;
        if (f.path.filename().empty()) failWrite(f.path, "no file name");
        if (std::filesystem::is_directory(f.path, ec)) failWrite(f.path, "it is a folder");
        openTemporary(f.path, staged[i].content);
        if (!f.bytes.empty() && std::fwrite(f.bytes.data(), 1, f.bytes.size(),
                                            staged[i].content.file) != f.bytes.size())
            failWrite(f.path, systemReason(errno ? errno : EIO));
        flushToDisk(f.path, staged[i].content);
    }
    // Earlier files are moved aside rather than overwritten, so that a failure part-way
    // can put every one of them back.
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::filesystem::path& target = files[i].path;
        std::error_code ec;
        if (std::filesystem::exists(target, ec)) {
            TempFile aside;
            openTemporary(target, aside);
            std::fclose(aside.file);
            aside.file = nullptr;
            std::filesystem::rename(target, aside.path, ec);
            if (!ec) {
                aside.keep = true;
                staged[i].backup = aside.path;
            }
        }
        if (!ec) std::filesystem::rename(staged[i].content.path, target, ec);
        if (ec) {
            undoPlacements(files, staged);
            failWrite(target, ec.message());
        }
        staged[i].content.keep = true;
        staged[i].placed = true;
    }
    for (StagedTarget& t : staged) {
        std::error_code ignored;
        if (!t.backup.empty()) std::filesystem::remove(t.backup, ignored);
    }
}

std::vector<std::uint8_t> readFileBytes(const std::filesystem::path& path) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec))
        throw std::runtime_error("Cannot open file " + quotedPath(path) + ": it is a folder");
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("Cannot open file " + quotedPath(path) + ": " +
                                 systemReason(errno ? errno : ENOENT));
    std::vector<std::uint8_t> bytes;
    char chunk[65536];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0)
        bytes.insert(bytes.end(), chunk, chunk + in.gcount());
    if (in.bad()) throw std::runtime_error("Cannot read file " + quotedPath(path));
    return bytes;
}

} // namespace plakett
