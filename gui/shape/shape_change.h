// Whole-shape changes made from dialogs: applied to the session's editor, or undone and
// reported when the core refuses the result.
#pragma once

#include <functional>

class QWidget;

namespace plakett {

class Session;
class TContur;

// Runs `change`; on success tells the session the shape changed. When it throws, the points
// and the selection are restored, the error is shown and false is returned.
bool applyShapeChange(QWidget* parent, Session& session,
                      const std::function<void(TContur&)>& change);

} // namespace plakett
