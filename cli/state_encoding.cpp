#include "state_encoding.h"

#include "common/field_parallel.h"

#include <future>

namespace plakett::cli {

std::vector<EncodedBytes> encodeDistinct(std::size_t count,
                                         const std::function<bool(std::size_t, std::size_t)>& same,
                                         const std::function<EncodedBytes(std::size_t)>& encode) {
    std::vector<std::size_t> source(count);
    std::vector<std::size_t> distinct;
    for (std::size_t i = 0; i < count; ++i) {
        source[i] = i;
        for (std::size_t d : distinct)
            if (same(d, i)) {
                source[i] = d;
                break;
            }
        if (source[i] == i) distinct.push_back(i);
    }

    std::vector<EncodedBytes> out(count);
    std::vector<std::future<EncodedBytes>> helpers;
    const auto policy = threadsAvailable() ? std::launch::async : std::launch::deferred;
    for (std::size_t k = 1; k < distinct.size(); ++k)
        helpers.push_back(std::async(policy, encode, distinct[k]));
    std::exception_ptr failure;
    try {
        if (!distinct.empty()) out[distinct[0]] = encode(distinct[0]);
    } catch (...) {
        failure = std::current_exception();
    }
    for (std::size_t k = 1; k < distinct.size(); ++k) {
        try {
            out[distinct[k]] = helpers[k - 1].get();
        } catch (...) {
            if (!failure) failure = std::current_exception();
        }
    }
    if (failure) std::rethrow_exception(failure);
    for (std::size_t i = 0; i < count; ++i)
        if (source[i] != i) out[i] = out[source[i]];
    return out;
}

} // namespace plakett::cli
