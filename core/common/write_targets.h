// What the file writer settles before it writes anything: where each target really is,
// whether it may be written, the folders it needs, and the leftovers of writers that died.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace plakett {

// ".NAME.<tag>-<pid>-<n>" beside `file`, the name shortened (at a character boundary) so
// that the whole stays within the file-name limit. Tags are "tmp" and "keep".
std::filesystem::path hiddenSibling(const std::filesystem::path& file, const char* tag);

// The file a target names: a symbolic link is followed (relative links from their own
// folder) to the file it points to, which need not exist yet; anything else is itself.
// Throws std::runtime_error naming the target for a loop of links.
std::filesystem::path linkedFile(const std::filesystem::path& target);

// Throws std::runtime_error naming `target` when `file` (the target or the file it links
// to) is a folder, exists but may not be written by this process, or its folder exists but
// may not be written.
void checkWritable(const std::filesystem::path& target, const std::filesystem::path& file);

// The folders above `file` that do not exist, outermost first.
std::vector<std::filesystem::path> missingFolders(const std::filesystem::path& file);

// Removes ".NAME.tmp-PID-N" and ".NAME.keep-PID-N" files in `folder` whose process is gone.
// Called with the folder's writer lock held, so no living writer's files are among them.
void removeStaleLeftovers(const std::filesystem::path& folder);

// Bytes free to this process on the file system of `folder`; UINTMAX_MAX when unknown.
std::uintmax_t freeBytes(const std::filesystem::path& folder);

} // namespace plakett
