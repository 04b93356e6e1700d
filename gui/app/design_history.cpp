#include "gui/app/design_history.h"

#include <utility>

namespace plakett {

unsigned changedParts(const DesignSnapshot& a, const DesignSnapshot& b) {
    unsigned parts = 0;
    if (a.points != b.points || a.zoom.FActualSize != b.zoom.FActualSize ||
        a.rotation.RotateBase != b.rotation.RotateBase)
        parts |= kShapePart;
    if (a.buttonColor != b.buttonColor || a.lights != b.lights) parts |= kLightsPart;
    if (!(a.settings == b.settings)) parts |= kSettingsPart;
    return parts;
}

bool onlyMoved(const DesignSnapshot& a, const DesignSnapshot& b) {
    if (changedParts(a, b) != kShapePart || a.zoom.FActualSize != b.zoom.FActualSize ||
        a.rotation.RotateBase != b.rotation.RotateBase || a.points.size() != b.points.size() ||
        a.points.empty())
        return false;
    const std::int32_t dx = b.points[0].FPos.X - a.points[0].FPos.X;
    const std::int32_t dy = b.points[0].FPos.Y - a.points[0].FPos.Y;
    for (std::size_t i = 0; i < a.points.size(); ++i) {
        TMoveBox moved = a.points[i];
        moved.FPos = {moved.FPos.X + dx, moved.FPos.Y + dy};
        if (!(moved == b.points[i])) return false;
    }
    return true;
}

QString stepName(unsigned parts) {
    if (parts & kShapePart) return QStringLiteral("Shape Change");
    if (parts & kLightsPart) return QStringLiteral("Light Change");
    return QStringLiteral("Settings Change");
}

DesignStep::DesignStep(Restore restore, DesignSnapshot before, DesignSnapshot after, unsigned parts,
                       std::uint64_t gesture)
    : QUndoCommand(stepName(parts)), m_restore(std::move(restore)), m_before(std::move(before)),
      m_after(std::move(after)), m_parts(parts), m_gesture(gesture) {}

void DesignStep::undo() {
    m_restore(m_before, m_parts);
}

void DesignStep::redo() {
    if (!m_pushed) {
        m_pushed = true;
        return;
    }
    m_restore(m_after, m_parts);
}

bool DesignStep::mergeWith(const QUndoCommand* other) {
    const auto* step = static_cast<const DesignStep*>(other);
    if (m_gesture == 0 || step->m_gesture != m_gesture) return false;
    m_after = step->m_after;
    m_parts |= step->m_parts;
    setText(stepName(m_parts));
    // A drag that came back to where it started leaves nothing to undo.
    if (changedParts(m_before, m_after) == 0) setObsolete(true);
    return true;
}

} // namespace plakett
