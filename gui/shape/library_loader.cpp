#include "gui/shape/library_loader.h"

#include "gui/shape/shape_thumbnail.h"
#include "shape/compute_points.h"
#include "shape/shape_file.h"
#include "shape/svg_shape_import.h"

#include <algorithm>
#include <cctype>
#include <exception>
#include <system_error>

namespace plakett {

namespace {

bool isShapeFile(const std::filesystem::path& p) {
    std::string ext = p.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext == ".shp" || ext == ".svg";
}

} // namespace

std::vector<std::filesystem::path> libraryFiles(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    std::filesystem::directory_iterator it(folder, ec);
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        std::error_code typeError;
        if (it->is_regular_file(typeError) && isShapeFile(it->path())) files.push_back(it->path());
    }
    std::sort(files.begin(), files.end(),
              [](const auto& a, const auto& b) { return a.filename() < b.filename(); });
    return files;
}

std::optional<LibraryEntry> loadLibraryEntry(const std::filesystem::path& file,
                                             const QString& folder, std::string& problem) {
    try {
        std::vector<TMoveBox> points;
        LoadAnyShapeFile(file, points);
        return LibraryEntry{file, loaderThumbnail(ComputeEditorOutline(points)), folder};
    } catch (const std::bad_alloc&) {
        problem = "not enough memory";
    } catch (const std::exception& e) {
        problem = e.what(); // a damaged file just has no place in the library
    }
    return std::nullopt;
}

std::optional<LibraryEntry> loadLibraryEntry(const std::filesystem::path& file,
                                             const QString& folder) {
    std::string ignored;
    return loadLibraryEntry(file, folder, ignored);
}

} // namespace plakett
