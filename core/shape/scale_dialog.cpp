#include "shape/scale_dialog.h"

#include "shape/number_text.h"
#include "shape/shape_arith.h"
#include "shape/transforms.h"

#include <algorithm>
#include <limits>

namespace plakett {

namespace {

constexpr std::int32_t kStepperMax = std::numeric_limits<std::int16_t>::max();

std::int32_t clampField(std::int64_t v, std::int32_t max) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, 0, std::max(max, 0)));
}

// (size + 1) x otherBase div base: the other field for an aspect-locked size.
std::int32_t follow(std::int32_t size, std::int32_t otherBase, std::int32_t base,
                    std::int32_t current, std::int32_t max) {
    if (base <= 0) return current;
    return clampField((std::int64_t{size} + 1) * otherBase / base, max);
}

double axisFactor(std::int32_t size, std::int32_t base) {
    return base > 0 ? static_cast<double>(size) / base : 1.0;
}

} // namespace

ScaleDialogState OpenScaleDialog(const TContur& contur, bool keepAspect) {
    ScaleDialogState s;
    s.maxWidth = std::min<std::int64_t>(std::int64_t{contur.width()} * 4, kStepperMax);
    s.maxHeight = std::min<std::int64_t>(std::int64_t{contur.height()} * 4, kStepperMax);
    s.w0 = wrap32(std::int64_t{contur.FMaxX} - contur.FMinX);
    s.h0 = wrap32(std::int64_t{contur.FMaxY} - contur.FMinY);
    s.Width = s.w0;
    s.Height = s.h0;
    s.keepAspect = keepAspect;
    return s;
}

bool WidthFieldChanged(ScaleDialogState& s, std::string_view text) {
    if (s.ResizeUpdating) return false;
    const auto value = tryParseInteger(text);
    if (!value) return false;
    s.Width = clampField(*value, s.maxWidth);
    if (s.keepAspect) s.Height = follow(s.Width, s.h0, s.w0, s.Height, s.maxHeight);
    return true;
}

bool HeightFieldChanged(ScaleDialogState& s, std::string_view text) {
    if (s.ResizeUpdating) return false;
    const auto value = tryParseInteger(text);
    if (!value) return false;
    s.Height = clampField(*value, s.maxHeight);
    if (s.keepAspect) s.Width = follow(s.Height, s.w0, s.h0, s.Width, s.maxWidth);
    return true;
}

void AspectBoxClicked(ScaleDialogState& s) {
    if (s.w0 <= 0 || s.h0 <= 0) return;
    const std::int64_t sum =
        std::int64_t{s.Width} * 128 / s.w0 + std::int64_t{s.Height} * 128 / s.h0;
    s.Width = clampField(sum * s.w0 / 256, s.maxWidth);
    s.Height = clampField(sum * s.h0 / 256, s.maxHeight);
}

ScalePreview ComputeScalePreview(const TContur& contur, const ScaleDialogState& s) {
    const double fx = axisFactor(s.Width, s.w0);
    const double fy = axisFactor(s.Height, s.h0);
    ScalePreview preview;
    preview.width = addSaturated(roundToInt32(s.w0 * fx), 42);
    preview.height = addSaturated(roundToInt32(s.h0 * fy), 42);

    const TArrayPoint& outline = contur.outline();
    const std::size_t n = outline.size();
    const std::int64_t minX3 = 3 * std::int64_t{contur.FMinX};
    const std::int64_t minY3 = 3 * std::int64_t{contur.FMinY};
    preview.polyline.reserve(n + 1);
    for (std::size_t i = 0; i < n; ++i) {
        const TPoint& a = outline[i == 0 ? n - 1 : i - 1];
        const TPoint& b = outline[i];
        const TPoint& c = outline[i + 1 == n ? 0 : i + 1];
        const std::int64_t sx = std::int64_t{a.X} + b.X + c.X - minX3;
        const std::int64_t sy = std::int64_t{a.Y} + b.Y + c.Y - minY3;
        preview.polyline.push_back(
            {addSaturated(roundToInt32(static_cast<double>(sx) * fx / 3), 20),
             addSaturated(roundToInt32(static_cast<double>(sy) * fy / 3), 20)});
    }
    if (n > 0) preview.polyline.push_back(preview.polyline.front());
    return preview;
}

void ApplyScaleDialog(TContur& contur, const ScaleDialogState& s) {
    if (s.keepAspect)
        ScaleProportional(contur, s.Width, s.w0);
    else
        ScaleFree(contur, s.Width, s.Height, s.w0, s.h0);
}

} // namespace plakett
