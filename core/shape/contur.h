// The contour editor without a window: owns the control points, applies the mouse rules of
// shape mode and keeps the outline and its bounds current. A widget forwards its events here
// and paints from the public fields.
#pragma once

#include "shape/compute_points.h"
#include "shape/move_box.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

namespace plakett {

// Where the two handles of a Bezier point are, right (incoming side) and left.
struct HandlePair {
    TPoint right;
    TPoint left;
};

class TContur {
  public:
    // The control fills its parent, so the parent's client size is its own.
    TContur(std::int32_t parentClientWidth, std::int32_t parentClientHeight);
    TContur(const TContur&) = delete; // FComputer refers to FPoints
    TContur& operator=(const TContur&) = delete;

    std::vector<TMoveBox> FPoints;
    ComputePoints FComputer;
    std::int32_t FSelected = -1;
    std::uint8_t FNewPointType = ptAuto;
    std::int32_t FCenterX = 0;
    std::int32_t FCenterY = 0;
    std::int32_t FMinX = -40;
    std::int32_t FMaxX = 40;
    std::int32_t FMinY = -40;
    std::int32_t FMaxY = 40;
    std::uint8_t FDragPoint = 0;
    std::uint8_t FDragRightHandle = 0;
    std::uint8_t FDragLeftHandle = 0;
    std::uint8_t FEditMode = 0;
    std::uint8_t FOutlineChanged = 0;

    // The bounds were recomputed (the widget updates its scroll bars).
    std::function<void()> FOnBounds;
    // A press selected a different point (the point-type selector follows it).
    std::function<void(std::int32_t index)> FOnPointSelected;
    // The outline changed and the control should be repainted.
    std::function<void()> FOnRepaint;

    std::int32_t width() const { return m_width; }
    std::int32_t height() const { return m_height; }
    const TArrayPoint& outline() const { return FComputer.FOutline; }
    bool hasSelection() const;

    void EnterEditMode();
    void Changed();
    void OutlineComputed();
    // The bounds part of a repaint: when the outline changed, measure it (widened by the
    // selected Bezier point's handles) and report. Idempotent.
    void UpdateBounds();
    std::int32_t PointAt(std::int32_t x, std::int32_t y) const;

    void leftPress(std::int32_t x, std::int32_t y);
    void mouseMove(std::int32_t x, std::int32_t y);
    void leftRelease();
    void rightPress(std::int32_t x, std::int32_t y);
    // The Delete key: the selected point goes, as long as two points remain.
    void deleteSelected();
    void resize(std::int32_t width, std::int32_t height);
    void PointStyleChange(std::int32_t index);

    // Replaces the ring (load, "New", project, library); no point selected afterwards. When the
    // new ring cannot be outlined the old one stays and the error propagates.
    void setPoints(std::vector<TMoveBox> points);
    // The two-point default shape around the centre.
    void resetToDefaultShape();
    void LoadFromFile(const std::filesystem::path& fileName);
    void SaveToFile(const std::filesystem::path& fileName) const;

    // Handle positions as the press test and the bounds use them: Round(X + len * r).
    static HandlePair pressHandles(const TMoveBox& box);
    // Handle positions as painted: X + Round(len * r).
    static HandlePair paintHandles(const TMoveBox& box);
    // The direction an Anchor point at `index` gets from its ring neighbours.
    void setDefaultDirection(std::size_t index);

  private:
    bool pressHandle(std::int32_t x, std::int32_t y);
    void insertOnOutline(std::int32_t x, std::int32_t y);
    std::size_t insertionIndex(std::size_t outlineIndex) const;

    std::int32_t m_width = 0;
    std::int32_t m_height = 0;
    bool m_shown = false; // the first computation happens before the control can paint
};

std::vector<TMoveBox> defaultShape(std::int32_t centerX, std::int32_t centerY);

} // namespace plakett
