// Undo steps of the design: whole snapshots before and after an edit, and which parts of the
// design the edit touched, so that undoing a caption change leaves the shape alone.
#pragma once

#include "effects/light_rec.h"
#include "render/render_settings.h"
#include "shape/move_box.h"
#include "shape/rotate.h"
#include "shape/transforms.h"

#include <QUndoCommand>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace plakett {

struct DesignSnapshot {
    std::vector<TMoveBox> points;
    ZoomState zoom;
    RotateState rotation;
    ColorRef buttonColor = kDefaultButtonColor;
    std::array<TLightRec, 4> lights{};
    RenderSettings settings;
};

enum DesignPart : unsigned {
    kShapePart = 1u << 0, // points, zoom, rotation base
    kLightsPart = 1u << 1,
    kSettingsPart = 1u << 2,
};

unsigned changedParts(const DesignSnapshot& a, const DesignSnapshot& b);

// Scrolling, centring and a resized editor move every point alike: that is where the shape is
// shown, not a change of it.
bool onlyMoved(const DesignSnapshot& a, const DesignSnapshot& b);

// One undo step. Steps made within one user gesture (a press and its drag, one key press)
// merge, so a slider drag is one step however many values it passed.
class DesignStep : public QUndoCommand {
  public:
    using Restore = std::function<void(const DesignSnapshot&, unsigned parts)>;
    DesignStep(Restore restore, DesignSnapshot before, DesignSnapshot after, unsigned parts,
               std::uint64_t gesture);

    void undo() override;
    void redo() override;
    int id() const override { return 1; }
    bool mergeWith(const QUndoCommand* other) override;

  private:
    Restore m_restore;
    DesignSnapshot m_before;
    DesignSnapshot m_after;
    unsigned m_parts;
    std::uint64_t m_gesture; // 0: made by the program, never merged
    bool m_pushed = false;   // the edit is already done when the step is pushed
};

QString stepName(unsigned parts);

} // namespace plakett
