#pragma once

#include <stdexcept>
#include <string>

namespace vexbit::cli {

// A subcommand's failure; main prints its message as the one error line and
// exits non-zero.
class CommandError : public std::runtime_error {
public:
    explicit CommandError(const std::string& message) : std::runtime_error(message) {}
};

} // namespace vexbit::cli
