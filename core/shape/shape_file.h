// The shape text file (".shp"): reading and writing a ring of control points.
#pragma once

#include "shape/move_box.h"
#include "shape/shape_error.h"

#include <cstdint>
#include <filesystem>
#include <istream>
#include <string>
#include <vector>

namespace plakett {

// Writes the ring through a temporary file beside fileName that replaces it only when
// complete. Throws ShapeError; an existing file is then left as it was.
void SaveToFile(const std::vector<TMoveBox>& points, const std::filesystem::path& fileName);

// Reads a shape file into `points`, which is replaced only when the whole read succeeded.
// Throws ShapeError with the user-facing text.
void LoadFromFile(const std::filesystem::path& fileName, std::vector<TMoveBox>& points);

// The same as text; the file functions are thin wrappers around these.
std::string shapeFileText(const std::vector<TMoveBox>& points);
std::vector<TMoveBox> readShape(std::istream& in);

// Readers stop here rather than trust a count that no real shape comes near.
inline constexpr std::int32_t kMaxShapePoints = 1000000;
inline constexpr std::uintmax_t kMaxShapeFileBytes = std::uintmax_t{64} << 20;

} // namespace plakett
