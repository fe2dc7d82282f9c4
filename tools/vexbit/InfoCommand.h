#pragma once

#include <CLI/CLI.hpp>

namespace vexbit::cli {

// "vexbit info <bundle>": the factory, its classes and each effect's parameters.
void addInfoCommand(CLI::App& app);

} // namespace vexbit::cli
