#pragma once

#include "params/ParameterTable.h"

#include <ostream>
#include <string>

namespace vexbit::cli {

// Prints a saved processor state readably: its header, the bypass flag, the
// string lists and every value with the title of its parameter. Returns false
// when the state is of another format or damaged; whatever could be read is
// printed all the same.
bool dumpProcessorState(const std::string& bytes, const ParameterTable& table, const std::string& formatTag,
                        std::ostream& out);

} // namespace vexbit::cli
