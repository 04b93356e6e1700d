// Encoding of the images one run writes, after the field the largest share of a run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace plakett::cli {

using EncodedBytes = std::vector<std::uint8_t>;

// encode(i) for i in 0 .. count - 1. An image that equals an earlier one (same(earlier, i))
// takes that one's bytes instead of being encoded again, as the off and over states do
// without a caption; the distinct ones are encoded on threads of their own. The first
// exception thrown by an encoder is rethrown once all have finished.
std::vector<EncodedBytes> encodeDistinct(std::size_t count,
                                         const std::function<bool(std::size_t, std::size_t)>& same,
                                         const std::function<EncodedBytes(std::size_t)>& encode);

} // namespace plakett::cli
