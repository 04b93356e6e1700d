// Errors of shape reading, writing and outlining; what() is the text shown to the user.
#pragma once

#include <stdexcept>

namespace plakett {

class ShapeError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

} // namespace plakett
