#include "gui/shape/shape_change.h"

#include "gui/app/session.h"
#include "gui/widgets/error_box.h"

#include <QMessageBox>

#include <exception>

namespace plakett {

bool applyShapeChange(QWidget* parent, Session& session,
                      const std::function<void(TContur&)>& change) {
    TContur& contur = session.contour();
    const std::vector<TMoveBox> before = contur.FPoints;
    const std::int32_t selected = contur.FSelected;
    try {
        change(contur);
    } catch (const std::exception& e) {
        contur.setPoints(before); // the former ring was outlined before, so this holds
        contur.FSelected = selected;
        session.shapeEdited();
        showError(parent, QStringLiteral("Plakett"), e);
        return false;
    }
    session.shapeEdited();
    return true;
}

} // namespace plakett
