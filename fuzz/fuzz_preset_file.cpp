// Preset files through the tool's reader (what `vexbit state load`, `state dump`
// and `render --state` use); whatever it accepts is restored into the plug-in
// as the tool would, then saved again.
#include "FuzzSession.h"

#include "host/PluginState.h"

using namespace vexbit;
using namespace vexbit::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzSession& session = FuzzSession::get();
    std::string error;
    const auto file = host::parseStateFile(std::string(reinterpret_cast<const char*>(data), size), error);
    if (!file) {
        if (error.empty()) fail("a refused file without a reason");
        return 0;
    }
    if (file->isPreset && file->state.component.size() > size) fail("a chunk larger than its file");
    if (host::restoreState(session.instance(), file->state, error) && !host::saveState(session.instance(), error))
        fail("cannot save after a restore: " + error);
    session.reset();
    return 0;
}
