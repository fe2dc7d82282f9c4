// Controller state bytes: the first byte picks the controller's component
// state (the processor's bytes) or its own state; afterwards every parameter
// must hold a finite normalized value within 0..1 whose text can be read.
#include "FuzzSession.h"

#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <cmath>
#include <limits>
#include <string>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace vexbit::fuzz;

const ParamValue kOddValues[] = {-0.5,
                                 -1e300,
                                 1.5,
                                 std::numeric_limits<double>::quiet_NaN(),
                                 std::numeric_limits<double>::infinity(),
                                 -std::numeric_limits<double>::infinity()};

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    FuzzSession& session = FuzzSession::get();
    IEditController* controller = session.controller();
    const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (data[0] & 1)
        controller->setState(streamOver(input));
    else
        controller->setComponentState(streamOver(input));

    const int32 count = controller->getParameterCount();
    for (int32 i = 0; i < count; ++i) {
        ParameterInfo info{};
        if (controller->getParameterInfo(i, info) != kResultOk) fail("parameter " + std::to_string(i) + " has no info");
        const ParamValue value = controller->getParamNormalized(info.id);
        if (!std::isfinite(value) || value < 0.0 || value > 1.0)
            fail("parameter " + std::to_string(info.id) + " holds " + std::to_string(value));
        String128 text{};
        if (controller->getParamStringByValue(info.id, value, text) != kResultOk ||
            std::char_traits<char16_t>::find(reinterpret_cast<const char16_t*>(text), 128, u'\0') == nullptr)
            fail("parameter " + std::to_string(info.id) + " has no text for its value");
        const ParamValue plain = controller->normalizedParamToPlain(info.id, value);
        if (!std::isfinite(plain)) fail("parameter " + std::to_string(info.id) + " has a non-finite plain value");
        // Values a host should not send must be clamped or refused, never crash.
        for (const ParamValue odd : kOddValues) {
            String128 oddText{};
            controller->getParamStringByValue(info.id, odd, oddText);
            if (!std::isfinite(controller->normalizedParamToPlain(info.id, odd)))
                fail("parameter " + std::to_string(info.id) + " gives a non-finite plain value");
            const ParamValue back = controller->plainParamToNormalized(info.id, odd);
            if (!std::isfinite(back) || back < 0.0 || back > 1.0)
                fail("parameter " + std::to_string(info.id) + " gives a normalized value outside 0..1");
        }
    }
    session.reset();
    return 0;
}
