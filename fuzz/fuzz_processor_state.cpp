// Processor state bytes: whatever setState accepts must be written back by
// getState in a form that loads again and writes the very same bytes, and the
// processor must still process afterwards.
#include "FuzzSession.h"

using namespace Steinberg;
using namespace vexbit::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzSession& session = FuzzSession::get();
    IComponent* component = session.component();
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    if (component->setState(streamOver(input)) == kResultOk) {
        auto first = owned(new MemoryStream());
        if (component->getState(first) != kResultOk)
            fail("getState refused after an accepted setState");
        const std::string written = contents(*first);
        if (component->setState(streamOver(written)) != kResultOk)
            fail("the processor refused the state it wrote itself");
        auto second = owned(new MemoryStream());
        component->getState(second);
        if (contents(*second) != written)
            fail("a state did not round-trip byte for byte");
        session.processOneBlock();
    }
    session.reset();
    return 0;
}
