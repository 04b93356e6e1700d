#include "shape/contur.h"

#include "common/arith.h"
#include "shape/shape_arith.h"
#include "shape/shape_file.h"
#include "shape/svg_shape_import.h"

#include <cmath>
#include <cstdlib>

namespace plakett {

namespace {

constexpr std::int64_t kNoOutlinePoint = 10000000;
constexpr std::int64_t kFarAway = 4000; // 4000^2 > kNoOutlinePoint
constexpr float kInsertedLength = 20.0f;

bool nearHandle(TPoint h, std::int32_t x, std::int32_t y) {
    return std::int64_t{h.X} - 2 <= x && x < std::int64_t{h.X} + 2 && std::int64_t{h.Y} - 2 <= y &&
           y < std::int64_t{h.Y} + 2;
}

double length(double x, double y) {
    return std::sqrt(x * x + y * y);
}

} // namespace

std::vector<TMoveBox> defaultShape(std::int32_t centerX, std::int32_t centerY) {
    std::vector<TMoveBox> points(2);
    points[0].Init(centerX + 60, centerY);
    points[1].Init(centerX - 60, centerY);
    return points;
}

TContur::TContur(std::int32_t parentClientWidth, std::int32_t parentClientHeight)
    : m_width(parentClientWidth), m_height(parentClientHeight) {
    FCenterX = m_width / 2;
    FCenterY = m_height / 2;
    FPoints = defaultShape(FCenterX, FCenterY);
    FComputer.FBoxes = &FPoints;
    // Not painted yet: the bounds keep their initial values until the first repaint.
    Changed();
    FComputer.FOnComputed = [this] { OutlineComputed(); };
}

bool TContur::hasSelection() const {
    return FSelected >= 0 && static_cast<std::size_t>(FSelected) < FPoints.size();
}

void TContur::EnterEditMode() {
    FEditMode = 1;
}

void TContur::Changed() {
    FOutlineChanged = 1;
    FComputer.FBoxes = &FPoints;
    FComputer.FInput.resize(FPoints.size());
    for (std::size_t i = 0; i < FPoints.size(); ++i)
        FComputer.FInput[i] = FPoints[i].FPos;
    FComputer.FDoubleRes = 0;
    FComputer.Compute();
}

void TContur::OutlineComputed() {
    UpdateBounds();
    if (FOnRepaint) FOnRepaint();
}

void TContur::UpdateBounds() {
    if (!FOutlineChanged) return;
    FMinX = FMinY = 1000000;
    FMaxX = FMaxY = -1000000;
    const auto widen = [this](TPoint p) {
        FMinX = std::min(FMinX, p.X);
        FMaxX = std::max(FMaxX, p.X);
        FMinY = std::min(FMinY, p.Y);
        FMaxY = std::max(FMaxY, p.Y);
    };
    for (const TPoint& p : FComputer.FOutline)
        widen(p);
    if (hasSelection() && FPoints[FSelected].FPointType == ptBezier) {
        const HandlePair h = pressHandles(FPoints[FSelected]);
        widen(h.right);
        widen(h.left);
    }
    FOutlineChanged = 0;
    if (FOnBounds) FOnBounds();
}

std::int32_t TContur::PointAt(std::int32_t x, std::int32_t y) const {
    for (std::size_t i = 0; i < FPoints.size(); ++i) {
        const TPoint p = FPoints[i].FPos;
        if (std::llabs(std::int64_t{x} - p.X) <= 2 && std::llabs(std::int64_t{y} - p.Y) <= 2)
            return static_cast<std::int32_t>(i);
    }
    return -1;
}

HandlePair TContur::pressHandles(const TMoveBox& b) {
    return {{roundToInt32(b.FPos.X + static_cast<double>(b.FRightLength) * b.FRx),
             roundToInt32(b.FPos.Y + static_cast<double>(b.FRightLength) * b.FRy)},
            {roundToInt32(b.FPos.X - static_cast<double>(b.FLeftLength) * b.FRx),
             roundToInt32(b.FPos.Y - static_cast<double>(b.FLeftLength) * b.FRy)}};
}

HandlePair TContur::paintHandles(const TMoveBox& b) {
    const auto along = [](std::int32_t base, float length, float r, std::int32_t sign) {
        return wrap32(base + sign * std::int64_t{roundToInt32(static_cast<double>(length) * r)});
    };
    return {{along(b.FPos.X, b.FRightLength, b.FRx, 1), along(b.FPos.Y, b.FRightLength, b.FRy, 1)},
            {along(b.FPos.X, b.FLeftLength, b.FRx, -1), along(b.FPos.Y, b.FLeftLength, b.FRy, -1)}};
}

void TContur::leftPress(std::int32_t x, std::int32_t y) {
    if (pressHandle(x, y)) return;
    const std::int32_t i = PointAt(x, y);
    if (i >= 0) {
        if (i != FSelected) {
            FSelected = i;
            if (FOnPointSelected) FOnPointSelected(i);
            Changed();
        }
        FDragPoint = 1;
        return;
    }
    insertOnOutline(x, y);
}

bool TContur::pressHandle(std::int32_t x, std::int32_t y) {
    if (!hasSelection() || FPoints[FSelected].FPointType != ptBezier) return false;
    const HandlePair h = pressHandles(FPoints[FSelected]);
    if (nearHandle(h.right, x, y)) {
        FDragRightHandle = 1;
        return true;
    }
    if (nearHandle(h.left, x, y)) {
        FDragLeftHandle = 1;
        return true;
    }
    return false;
}

void TContur::insertOnOutline(std::int32_t x, std::int32_t y) {
    const TArrayPoint& outline = FComputer.FOutline;
    std::int64_t best = kNoOutlinePoint;
    std::size_t k = 0;
    for (std::size_t i = 0; i < outline.size(); ++i) {
        const std::int64_t dx = std::int64_t{x} - outline[i].X;
        const std::int64_t dy = std::int64_t{y} - outline[i].Y;
        if (std::llabs(dx) > kFarAway || std::llabs(dy) > kFarAway) continue; // cannot win
        if (dx * dx + dy * dy < best) {
            best = dx * dx + dy * dy;
            k = i;
        }
    }
    if (best > 4) return;

    const std::size_t index = insertionIndex(k);
    TMoveBox box;
    box.Init(outline[k].X, outline[k].Y);
    box.FPointType = FNewPointType;
    FPoints.insert(FPoints.begin() + static_cast<std::ptrdiff_t>(index), box);
    FSelected = static_cast<std::int32_t>(index);
    FDragPoint = 1;
    if (box.FPointType == ptBezier) {
        FPoints[index].FLeftLength = FPoints[index].FRightLength = kInsertedLength;
        setDefaultDirection(index);
    }
    Changed();
}

// The segment holding outline element k, counted the way the outline lays its samples out.
std::size_t TContur::insertionIndex(std::size_t k) const {
    const std::size_t n = FPoints.size();
    std::int64_t s = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t next = i + 1 == n ? 0 : i + 1;
        const std::int32_t len = truncToInt(SegmentLength(FPoints[i].FPos, FPoints[next].FPos));
        s += len / 2 + len / 4 + 3;
        if (s >= static_cast<std::int64_t>(k)) return next;
    }
    return 0;
}

void TContur::setDefaultDirection(std::size_t index) {
    const std::size_t n = FPoints.size();
    const TPoint p = FPoints[index].FPos;
    const TPoint prev = FPoints[(index + n - 1) % n].FPos;
    const TPoint next = FPoints[(index + 1) % n].FPos;
    float dx = 1.0f;
    float dy = 0.0f;
    const double vx = static_cast<double>(next.X) - prev.X;
    const double vy = static_cast<double>(next.Y) - prev.Y;
    const float v = static_cast<float>(length(vx, vy));
    if (v != 0.0f) {
        dx = static_cast<float>(vx / v);
        dy = static_cast<float>(vy / v);
    } else {
        const double wx = static_cast<double>(p.Y) - next.Y;
        const double wy = static_cast<double>(next.X) - p.X;
        const float w = static_cast<float>(length(wx, wy));
        if (w != 0.0f) {
            dx = static_cast<float>(wx / w);
            dy = static_cast<float>(wy / w);
        }
    }
    FPoints[index].FRx = -dx;
    FPoints[index].FRy = -dy;
}

void TContur::mouseMove(std::int32_t x, std::int32_t y) {
    if (!(FDragRightHandle || FDragLeftHandle || FDragPoint)) return;
    if (!hasSelection()) return; // the point went away under the drag (right press)
    TMoveBox& p = FPoints[FSelected];
    if (FDragRightHandle || FDragLeftHandle) {
        const bool right = FDragRightHandle != 0;
        const double vx =
            right ? static_cast<double>(x) - p.FPos.X : static_cast<double>(p.FPos.X) - x;
        const double vy =
            right ? static_cast<double>(y) - p.FPos.Y : static_cast<double>(p.FPos.Y) - y;
        const float len = static_cast<float>(roundToInt32(length(vx, vy)));
        (right ? p.FRightLength : p.FLeftLength) = len;
        p.FRx = static_cast<float>(len != 0.0f ? vx / len : vx);
        p.FRy = static_cast<float>(len != 0.0f ? vy / len : vy);
    } else {
        p.FPos = {x, y};
    }
    Changed();
}

void TContur::leftRelease() {
    FDragPoint = FDragRightHandle = FDragLeftHandle = 0;
}

void TContur::rightPress(std::int32_t x, std::int32_t y) {
    const std::int32_t i = PointAt(x, y);
    if (i < 0 || FPoints.size() < 3) return;
    FSelected = -1;
    FPoints.erase(FPoints.begin() + i);
    Changed();
}

void TContur::deleteSelected() {
    if (!hasSelection() || FPoints.size() < 3) return;
    FPoints.erase(FPoints.begin() + FSelected);
    FSelected = -1;
    Changed();
}

void TContur::resize(std::int32_t width, std::int32_t height) {
    m_width = width;
    m_height = height;
    const std::int32_t dx = width / 2 - FCenterX;
    const std::int32_t dy = height / 2 - FCenterY;
    for (TMoveBox& p : FPoints)
        p.FPos = {p.FPos.X + dx, p.FPos.Y + dy};
    FCenterX = width / 2;
    FCenterY = height / 2;
    Changed();
}

void TContur::PointStyleChange(std::int32_t index) {
    if (index < 0 || index > 2) return;
    static constexpr std::uint8_t kTypes[] = {ptAuto, ptBezier, ptAngle};
    const std::uint8_t type = kTypes[index];
    if (hasSelection()) {
        FPoints[FSelected].FPointType = type;
        if (type == ptBezier) {
            FPoints[FSelected].FLeftLength = FPoints[FSelected].FRightLength = kInsertedLength;
            setDefaultDirection(static_cast<std::size_t>(FSelected));
        }
    }
    FNewPointType = type;
    Changed();
}

void TContur::setPoints(std::vector<TMoveBox> points) {
    std::vector<TMoveBox> old = std::move(FPoints);
    const std::int32_t oldSelected = FSelected;
    FPoints = std::move(points);
    FSelected = -1;
    try {
        Changed();
    } catch (...) {
        FPoints = std::move(old);
        FSelected = oldSelected;
        FComputer.FInput.resize(FPoints.size());
        for (std::size_t i = 0; i < FPoints.size(); ++i)
            FComputer.FInput[i] = FPoints[i].FPos;
        throw;
    }
}

void TContur::resetToDefaultShape() {
    setPoints(defaultShape(FCenterX, FCenterY));
}

void TContur::LoadFromFile(const std::filesystem::path& fileName) {
    std::vector<TMoveBox> points;
    LoadAnyShapeFile(fileName, points); // a ".svg" as drawn, anything else as a shape file
    setPoints(std::move(points));
}

void TContur::SaveToFile(const std::filesystem::path& fileName) const {
    plakett::SaveToFile(FPoints, fileName);
}

} // namespace plakett
