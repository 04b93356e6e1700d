#include "common/version.h"

namespace plakett {
const char* versionString() {
    return "0.1.0";
}
} // namespace plakett
