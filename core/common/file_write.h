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
void writeFilesTogether(const std::vector<FileContent>& files);

// Reads a whole file; std::runtime_error names the file when it cannot be read.
std::vector<std::uint8_t> readFileBytes(const std::filesystem::path& path);

// The path as the user sees it, quoted, for error texts.
std::string quotedPath(const std::filesystem::path& path);

} // namespace plakett
