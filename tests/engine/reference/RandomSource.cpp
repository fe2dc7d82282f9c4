#include "engine/reference/RandomSource.h"

namespace vexbit::reference {

uint32_t& RandomSource::state()
{
    thread_local uint32_t s = 1;
    return s;
}

} // namespace vexbit::reference
