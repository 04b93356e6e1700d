#include "document/export_naming.h"

#include "common/file_write.h"

#include <stdexcept>

namespace plakett {

namespace {

constexpr std::array<const char*, 3> kStateSuffixes = {"_off", "_over", "_down"};

void cutAtFirst(std::string& name, const std::string& marker) {
    const auto at = name.find(marker);
    if (at != std::string::npos) name.erase(at);
}

void checkStateCount(int stateCount) {
    if (stateCount < 1 || stateCount > 3)
        throw std::invalid_argument("export state count must be 1, 2 or 3");
}

std::vector<ExportFile> filesFor(const std::filesystem::path& chosenName,
                                 std::initializer_list<int> states, ExportFormat format) {
    const std::filesystem::path base = exportBase(chosenName);
    const std::string stem = base.filename().string();
    std::vector<ExportFile> files;
    for (int state : states)
        files.push_back(
            {state, base.parent_path() / (stem + kStateSuffixes[static_cast<std::size_t>(state)] +
                                          exportExtension(format))});
    return files;
}

} // namespace

int exportJpegQuality(int barPosition) {
    if (barPosition < kMinQualityBar || barPosition > kMaxQualityBar)
        throw std::invalid_argument("quality bar position must be 3..10");
    return barPosition * 10;
}

std::string exportExtension(ExportFormat format) {
    switch (format) {
    case ExportFormat::Bmp:
        return ".bmp";
    case ExportFormat::Jpeg:
        return ".jpg";
    case ExportFormat::Png:
        return ".png";
    case ExportFormat::Webp:
        return ".webp";
    }
    throw std::invalid_argument("unknown export format");
}

std::filesystem::path exportBase(const std::filesystem::path& chosenName) {
    // Only the file-name part is cut: cutting at a dot in a folder name would write the
    // images into the parent folder under the folder's name.
    std::string name = chosenName.filename().string();
    cutAtFirst(name, ".");
    cutAtFirst(name, "_OFF");
    cutAtFirst(name, "_OVER");
    cutAtFirst(name, "_DOWN");
    return chosenName.parent_path() / name;
}

std::string exportNameProblem(const std::filesystem::path& chosenName) {
    std::error_code ec;
    if (std::filesystem::is_directory(chosenName, ec))
        return quotedPath(chosenName) + " is a folder; name the files, for example " +
               quotedPath(chosenName / "button.png");
    if (exportBase(chosenName).filename().empty())
        return quotedPath(chosenName) + " leaves no base name for the files";
    return {};
}

std::vector<ExportFile> exportWriteOrder(const std::filesystem::path& chosenName, int stateCount,
                                         ExportFormat format) {
    checkStateCount(stateCount);
    if (stateCount == 1) return filesFor(chosenName, {kStateOff}, format);
    if (stateCount == 2) return filesFor(chosenName, {kStateOff, kStateDown}, format);
    return filesFor(chosenName, {kStateOff, kStateDown, kStateOver}, format);
}

std::vector<ExportFile> exportPreviewOrder(const std::filesystem::path& chosenName, int stateCount,
                                           ExportFormat format) {
    checkStateCount(stateCount);
    if (stateCount == 1) return filesFor(chosenName, {kStateOff}, format);
    if (stateCount == 2) return filesFor(chosenName, {kStateOff, kStateDown}, format);
    return filesFor(chosenName, {kStateOff, kStateOver, kStateDown}, format);
}

int exportButtonStates(const std::array<Bgr24Image, 3>& states, const ExportRequest& request,
                       const ExportImageWriter& write) {
    if (request.chosenName.empty()) return 0;
    const int quality = exportJpegQuality(request.qualityBar);
    int written = 0;
    for (const ExportFile& file :
         exportWriteOrder(request.chosenName, request.stateCount, request.format)) {
        try {
            write(states[static_cast<std::size_t>(file.stateIndex)], file.path, request.format,
                  quality);
        } catch (const std::exception& e) {
            const std::string reason = e.what();
            if (reason.find(file.path.string()) != std::string::npos) throw;
            throw std::runtime_error("Cannot write file " + quotedPath(file.path) + ": " + reason);
        }
        ++written;
    }
    return written;
}

} // namespace plakett
