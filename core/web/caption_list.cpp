#include "web/caption_list.h"

#include "common/file_write.h"
#include "web/caption_names.h"

#include <fstream>
#include <stdexcept>
#include <string_view>

namespace plakett {

namespace {

// Length of the well-formed UTF-8 sequence at the start of s, 0 when it is malformed
// (overlong forms, surrogates and values past U+10FFFF included).
std::size_t utf8SequenceLength(std::string_view s) {
    const auto b = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char c = b(0);
    if (c < 0x80) return 1;
    std::size_t n = 0;
    unsigned lo = 0x80, hi = 0xBF;
    if (c >= 0xC2 && c <= 0xDF)
        n = 2;
    else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        if (c == 0xE0) lo = 0xA0;
        if (c == 0xED) hi = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        if (c == 0xF0) lo = 0x90;
        if (c == 0xF4) hi = 0x8F;
    } else
        return 0;
    if (s.size() < n) return 0;
    if (b(1) < lo || b(1) > hi) return 0;
    for (std::size_t i = 2; i < n; ++i)
        if (b(i) < 0x80 || b(i) > 0xBF) return 0;
    return n;
}

std::string lineError(const std::string& source, std::size_t line, const std::string& what) {
    return "caption file " + source + ", line " + std::to_string(line) + ": " + what;
}

// What is wrong with the characters of a caption, or "".
std::string characterProblem(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = utf8SequenceLength(text.substr(i));
        if (n == 0) return "not UTF-8 text";
        const auto c = static_cast<unsigned char>(text[i]);
        if (n == 1 && ((c < 0x20 && c != '\t') || c == 0x7F)) return "holds a control character";
        i += n;
    }
    return {};
}

std::string lengthProblem(std::string_view text) {
    if (text.size() <= kMaxCaptionBytes) return {};
    return "longer than " + std::to_string(kMaxCaptionBytes) + " bytes";
}

void checkLine(std::string_view line, const std::string& source, std::size_t number) {
    if (const std::string problem = characterProblem(line); !problem.empty())
        throw std::runtime_error(lineError(source, number, problem));
}

std::string_view trimmed(std::string_view s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// A TAB ends the caption and starts the button's own name.
void checkName(std::string_view line, const std::string& source, std::size_t number) {
    const auto tab = line.find('\t');
    if (tab == std::string_view::npos) return;
    if (line.find('\t', tab + 1) != std::string_view::npos)
        throw std::runtime_error(lineError(source, number, "holds more than one tab"));
    const CaptionLine split = splitCaptionLine(std::string(line));
    if (captionSlug(split.name).empty())
        throw std::runtime_error(
            lineError(source, number, "the name after the tab holds no letter or digit"));
}

} // namespace

std::vector<std::string> parseCaptionList(std::span<const std::uint8_t> bytes,
                                          const std::string& source) {
    std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    std::vector<std::string> captions;
    std::size_t number = 0;
    while (!text.empty()) {
        ++number;
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.ends_with('\r')) line.remove_suffix(1);
        checkLine(line, source, number);
        line = trimmed(line);
        if (line.empty()) continue;
        if (const std::string problem = lengthProblem(line); !problem.empty())
            throw std::runtime_error(lineError(source, number, problem));
        checkName(line, source, number);
        if (captions.size() == kMaxCaptions)
            throw std::runtime_error("caption file " + source + " holds more than " +
                                     std::to_string(kMaxCaptions) + " captions");
        captions.emplace_back(line);
    }
    if (captions.empty()) throw std::runtime_error("caption file " + source + " holds no caption");
    return captions;
}

void checkCaption(std::string_view caption, const std::string& source) {
    std::string problem = characterProblem(caption);
    if (problem.empty()) problem = lengthProblem(caption);
    if (!problem.empty()) throw std::runtime_error(source + ": " + problem);
}

std::vector<std::string> readCaptionFile(const std::filesystem::path& path) {
    const std::string name = quotedPath(path);
    // Opening a named pipe would wait for a writer forever; devices never end.
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (std::filesystem::exists(status) && !std::filesystem::is_directory(status) &&
        !std::filesystem::is_regular_file(status))
        throw std::runtime_error("cannot read caption file " + name + ": it is not a regular file");
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read caption file " + name);
    // Read at most one byte past the limit: the file may grow while it is read.
    std::vector<std::uint8_t> bytes(kMaxCaptionFileBytes + 1);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (in.bad()) throw std::runtime_error("cannot read caption file " + name);
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    if (bytes.size() > kMaxCaptionFileBytes)
        throw std::runtime_error("caption file " + name + " is larger than " +
                                 std::to_string(kMaxCaptionFileBytes / 1024) + " KiB");
    return parseCaptionList(bytes, name);
}

} // namespace plakett
