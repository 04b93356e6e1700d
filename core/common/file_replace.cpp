#include "common/file_replace.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

namespace plakett {

namespace {

std::filesystem::path temporaryBeside(const std::filesystem::path& target) {
    std::random_device rd;
    std::filesystem::path tmp = target;
    tmp += ".tmp" + std::to_string(rd() % 1000000);
    return tmp;
}

[[noreturn]] void cannotWrite(const std::filesystem::path& target, const std::string& reason) {
    throw std::runtime_error("Cannot create file \"" + target.string() + "\". " + reason);
}

} // namespace

void writeFileReplacing(const std::filesystem::path& target, std::span<const std::uint8_t> bytes) {
    const std::filesystem::path tmp = temporaryBeside(target);
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        if (!out) cannotWrite(target, std::strerror(errno));
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            out.close();
            std::error_code ignored;
            std::filesystem::remove(tmp, ignored);
            cannotWrite(target, "Write error");
        }
    }
    std::error_code ec;
    std::filesystem::rename(tmp, target, ec);
    if (ec) {
        std::error_code ignored;
        std::filesystem::remove(tmp, ignored);
        cannotWrite(target, ec.message());
    }
}

std::vector<std::uint8_t> readWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("Cannot open file \"" + path.string() + "\". " +
                                 std::strerror(errno));
    std::vector<std::uint8_t> data((std::istreambuf_iterator<char>(in)),
                                   std::istreambuf_iterator<char>());
    if (in.bad()) throw std::runtime_error("Cannot read file \"" + path.string() + "\"");
    return data;
}

} // namespace plakett
