// The options that answer and exit before any window (or display) is needed.
#pragma once

#include <optional>
#include <ostream>

namespace plakett {

// Prints the version or the usage for --version or --help and returns the exit code;
// nothing for any other command line.
std::optional<int> runInfoOption(int argc, char** argv, std::ostream& out);

} // namespace plakett
