// Small numeric helpers of the shape field: values that are kept are float32, the
// expressions that produce them are evaluated in double.
#pragma once

namespace plakett {

inline float keepF32(double v) {
    return static_cast<float>(v);
}

} // namespace plakett
