// Small painted icons for the left tool strip, and two toolbar icons the style has no
// large picture for.
#pragma once

#include <QIcon>

namespace plakett {

enum class StripIcon {
    Enlarge,
    ActualSize,
    Light,
    Text,
    Shadow,
    Glyph,
    Background,
    Center,
    Export
};

QIcon stripIcon(StripIcon which);

} // namespace plakett
