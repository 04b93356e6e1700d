// Saving without destroying: the new content goes to a temporary file beside the target,
// which replaces the target only once it is complete.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace plakett {

// Throws std::runtime_error naming the file when it cannot be written.
void writeFileReplacing(const std::filesystem::path& target, std::span<const std::uint8_t> bytes);

// The whole file; throws std::runtime_error naming the file when it cannot be read.
std::vector<std::uint8_t> readWholeFile(const std::filesystem::path& path);

} // namespace plakett
