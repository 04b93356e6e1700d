// Saves that never destroy the previous file: the bytes go to a temporary file beside the
// target, which replaces the target only once it is complete.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
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

// A set of files written as one, each staged (written to its temporary) as soon as its
// bytes are ready, so that a large set never waits in memory; the targets are replaced only
// by commit, when every one is staged.
//
// The constructor settles everything that can be known before the content: each target
// that is a symbolic link is written through to the file it names; a target or folder this
// process may not write is refused; missing folders are made when asked (and removed again
// if the set is not committed), otherwise the write fails as the system refuses it; writers to the same folders take their turn; leftovers of writers that
// died are removed. It throws std::runtime_error naming the target. Destroyed without a
// successful commit, everything staged and every folder made goes again. From construction
// to the end of commit it holds the process's one writing turn: no other write of this
// process may start meanwhile on the same thread.
enum class MissingFolders { Refuse, Make };

class FileSetWriter {
  public:
    explicit FileSetWriter(const std::vector<std::filesystem::path>& targets,
                           MissingFolders folders = MissingFolders::Refuse);
    ~FileSetWriter();
    FileSetWriter(const FileSetWriter&) = delete;
    FileSetWriter& operator=(const FileSetWriter&) = delete;

    // Refuses the set, before anything is staged, when the file systems of its targets have
    // fewer than `bytes` free.
    void requireFreeSpace(std::uintmax_t bytes);

    // Writes the content of `target` (one of the constructor's, not yet staged) to its
    // temporary. On failure the whole set is rolled back and the error thrown.
    void stage(const std::filesystem::path& target, std::span<const std::uint8_t> bytes);

    // Every target staged: replaces them all together, as writeFilesTogether does.
    void commit();

  private:
    struct State;
    std::unique_ptr<State> m_state;
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
// - A replaced target keeps its permission bits; a target that is a symbolic link keeps
//   the link, and the file it names is replaced.
// - A target this process may not write is refused.
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
