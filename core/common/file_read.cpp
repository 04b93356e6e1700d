#include "common/file_write.h"

#include "common/text_encoding.h"

#include <cerrno>
#include <fstream>
#include <stdexcept>
#include <system_error>

namespace plakett {

namespace {

[[noreturn]] void failOpen(const std::filesystem::path& path, const std::string& reason) {
    throw std::runtime_error("Cannot open file " + quotedPath(path) + ": " + reason);
}

} // namespace

std::string quotedPath(const std::filesystem::path& path) {
    return "'" + printableText(path.string()) + "'";
}

std::vector<std::uint8_t> readFileBytes(const std::filesystem::path& path,
                                        std::uintmax_t maxBytes) {
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(path, ec);
    if (std::filesystem::is_directory(status)) failOpen(path, "it is a folder");
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))
        failOpen(path, "it is not a regular file");
    std::ifstream in(path, std::ios::binary);
    if (!in) failOpen(path, std::generic_category().message(errno ? errno : ENOENT));
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (!ec && size > maxBytes)
        failOpen(path, "the file is " + std::to_string(size) + " bytes, more than " +
                           std::to_string(maxBytes) + " bytes a file of this kind can hold");
    std::vector<std::uint8_t> bytes;
    char chunk[65536];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        bytes.insert(bytes.end(), chunk, chunk + in.gcount());
        if (bytes.size() > maxBytes) failOpen(path, "the file is larger than it can be");
    }
    if (in.bad()) throw std::runtime_error("Cannot read file " + quotedPath(path));
    return bytes;
}

} // namespace plakett
