// Processor state bytes: whatever setState accepts must be written back by
// getState in a form that loads again and writes the very same bytes, the
// controller given the same bytes must agree about Bypass, and the processor
// must still process afterwards.
#include "FuzzSession.h"

#include "pluginterfaces/vst/ivsteditcontroller.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

constexpr ParamID kBypassId = 0x7FFFFFFF;
using namespace vexbit::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzSession& session = FuzzSession::get();
    IComponent* component = session.component();
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    if (component->setState(streamOver(input)) == kResultOk) {
        auto first = owned(new MemoryStream());
        if (component->getState(first) != kResultOk) fail("getState refused after an accepted setState");
        const std::string written = contents(*first);
        if (component->setState(streamOver(written)) != kResultOk)
            fail("the processor refused the state it wrote itself");
        auto second = owned(new MemoryStream());
        component->getState(second);
        if (contents(*second) != written) fail("a state did not round-trip byte for byte");
        // The bypass byte follows the 4-byte length and the "2.0" header.
        constexpr size_t kBypassAt = 8;
        IEditController* controller = session.controller();
        if (written.size() > kBypassAt && controller->setComponentState(streamOver(input)) == kResultOk &&
            (controller->getParamNormalized(kBypassId) >= 0.5) != (written[kBypassAt] != 0))
            fail("processor and controller disagree about Bypass");
        session.processOneBlock();
    }
    session.reset();
    return 0;
}
