#pragma once

namespace plakett {
const char* versionString();
}
