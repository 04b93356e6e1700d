#include "common/version.h"

#ifndef PLAKETT_VERSION
#define PLAKETT_VERSION "0.0.0"
#endif

namespace plakett {
const char* versionString() {
    // The project's version, passed in by the build.
    return PLAKETT_VERSION;
}
} // namespace plakett
