#pragma once

#include "params/ParameterTable.h"

namespace vexbit {

// Registers the plug-in's 82 parameters: the AutoPlay settings, the per-effect
// scheduling settings and each effect's own block.
void buildPluginParameterTable(ParameterTable& table);

} // namespace vexbit
