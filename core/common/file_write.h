// Saves that never destroy the previous file: the bytes go to a temporary file beside the
// target, which replaces the target only once it is complete.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace plakett {

// Writes `bytes` to `target` atomically. On failure the temporary file is removed, the
// previous target (if any) is left as it was, and std::runtime_error names the target.
void writeFileAtomically(const std::filesystem::path& target, std::span<const std::uint8_t> bytes);

struct FileContent {
    std::filesystem::path path;
    std::vector<std::uint8_t> bytes;
};

// Writes several files as one: all are staged as temporary files first and renamed only
// when every one is complete, so a failure leaves none of them half-written.
//
// - A target never disappears: its old file is kept through a hard link beside it (a copy
//   where links are not possible) while the new one is renamed over it.
// - On any failure, and on SIGINT, SIGTERM or SIGHUP while writing, every target this
//   call replaced gets its old file back, every target it created is removed, and no
//   temporary stays. A file-size limit (SIGXFSZ) is reported as an error.
// - Writers to the same folder, in this or other processes, take turns, so concurrent
//   calls end with the complete set of one of them.
// - A replaced target keeps its permission bits.
void writeFilesTogether(const std::vector<FileContent>& files);

// Reads a whole regular file; std::runtime_error names the file when it cannot be read, is
// not a regular file (a folder, a device, a pipe) or holds more than `maxBytes`.
inline constexpr std::uintmax_t kMaxReadFileBytes = std::uintmax_t{256} << 20;
std::vector<std::uint8_t> readFileBytes(const std::filesystem::path& path,
                                        std::uintmax_t maxBytes = kMaxReadFileBytes);

// The path as the user sees it, quoted, for error texts; control bytes are escaped.
std::string quotedPath(const std::filesystem::path& path);

// Test seam: called before each step of a write with the index of the file concerned; a
// non-zero errno value makes that step fail as if the system had refused it.
enum class WriteStep { Create, Write, Keep, Place };
using WriteFaultHook = int (*)(WriteStep step, std::size_t fileIndex);
void setWriteFaultHook(WriteFaultHook hook);

} // namespace plakett
