#include "vexbit/EditorSession.h"

#include "vexbit/CommandError.h"
#include "host/PluginLocator.h"

#include "base/source/fobject.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "public.sdk/source/common/memorystream.h"

#include <cstdio>

namespace vexbit::cli {

using namespace Steinberg;

namespace {

// The host's end of parameter edits: accepted, and printed when asked.
class EditPrinter : public FObject, public Vst::IComponentHandler {
public:
    explicit EditPrinter(bool print) : print_(print) {}
    tresult PLUGIN_API beginEdit(Vst::ParamID) override { return kResultOk; }
    tresult PLUGIN_API performEdit(Vst::ParamID id, Vst::ParamValue value) override
    {
        if (print_) std::printf("edit %u %.6f\n", id, value);
        std::fflush(stdout);
        return kResultOk;
    }
    tresult PLUGIN_API endEdit(Vst::ParamID) override { return kResultOk; }
    tresult PLUGIN_API restartComponent(int32) override { return kResultOk; }

    OBJ_METHODS(EditPrinter, FObject)
    DEFINE_INTERFACES
    DEF_INTERFACE(Vst::IComponentHandler)
    END_DEFINE_INTERFACES(FObject)
    REFCOUNT_METHODS(FObject)

private:
    bool print_;
};

// Hosts hand the processor's state to the controller before showing the editor.
void syncControllerWithProcessor(host::PluginInstance& instance)
{
    auto stream = owned(new MemoryStream());
    if (instance.component()->getState(stream) != kResultOk) return;
    stream->seek(0, IBStream::kIBSeekSet, nullptr);
    instance.controller()->setComponentState(stream);
}

} // namespace

void addScaleOption(CLI::App& command, double& scale)
{
    command
        .add_option("--scale", scale, "Screen scale factor told to the editor, e.g. 1.5 or 2 (default: the desktop's)")
        ->check(CLI::Range(1.0, 4.0));
}

std::string defaultBundlePath()
{
    const std::string name = "Vexbit Glitch.vst3";
    const std::string found = host::findDefaultPlugin(name);
    if (found.empty())
        throw CommandError("no bundle given and \"" + name + "\" was found neither in the build tree nor installed");
    return found;
}

EditorSession EditorSession::open(const std::string& bundlePath, bool printEdits, double scale)
{
    const std::string path = bundlePath.empty() ? defaultBundlePath() : bundlePath;
    EditorSession session;
    std::string error;
    session.module = host::Module::load(path, error);
    if (!session.module) throw CommandError(error);
    session.instance = host::PluginInstance::createFirstEffect(session.module, error);
    if (!session.instance) throw CommandError(error);
    if (session.instance->controller() == nullptr) throw CommandError(path + ": the plug-in has no edit controller");
    syncControllerWithProcessor(*session.instance);
    auto handler = owned(new EditPrinter(printEdits));
    session.instance->controller()->setComponentHandler(handler);

    const auto classInfo = session.module->firstClassOfCategory(kVstAudioEffectClass);
    const std::string title = classInfo ? classInfo->name : path;
    session.window = host::EditorHost::open(session.instance->controller(), title, error, scale);
    if (!session.window) throw CommandError(path + ": " + error);
    return session;
}

EditorSession::~EditorSession()
{
    // The view goes before the controller it belongs to.
    window.reset();
    if (instance && instance->controller() != nullptr) instance->controller()->setComponentHandler(nullptr);
    instance.reset();
}

} // namespace vexbit::cli
