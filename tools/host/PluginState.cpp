#include "host/PluginState.h"

#include "host/PresetFileReader.h"

#include "public.sdk/source/common/memorystream.h"
#include "public.sdk/source/vst/vstpresetfile.h"

#include <fstream>
#include <iterator>

namespace vexbit::host {

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

// Larger files are not states of any plug-in we mean to read.
constexpr std::streamoff kMaxStateFileSize = 256 * 1024 * 1024;

IPtr<MemoryStream> streamOver(const std::string& bytes)
{
    auto stream = owned(new MemoryStream());
    stream->write(const_cast<char*>(bytes.data()), static_cast<int32>(bytes.size()), nullptr);
    stream->seek(0, IBStream::kIBSeekSet, nullptr);
    return stream;
}

std::string contents(const MemoryStream& stream)
{
    return std::string(stream.getData() ? stream.getData() : "", static_cast<size_t>(stream.getSize()));
}

const char* resultName(tresult r)
{
    switch (r) {
    case kResultOk: return "ok";
    case kResultFalse: return "false";
    case kInvalidArgument: return "invalid argument";
    case kNotImplemented: return "not implemented";
    case kNotInitialized: return "not initialized";
    default: return "error";
    }
}

bool readWholeFile(const std::string& path, std::string& bytes, std::string& error)
{
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) {
        error = path + ": cannot open the file";
        return false;
    }
    const std::streamoff size = in.tellg();
    if (size < 0 || size > kMaxStateFileSize) {
        error = path + ": not a state file (size)";
        return false;
    }
    bytes.resize(static_cast<size_t>(size));
    in.seekg(0);
    if (!in.read(bytes.data(), size)) {
        error = path + ": cannot read the file";
        return false;
    }
    return true;
}

// A single-component plug-in is its own controller; only a separate one keeps
// a state of its own and is handed the component's state.
bool hasSeparateController(const PluginInstance& instance)
{
    if (instance.controller() == nullptr) return false;
    FUnknownPtr<FUnknown> component(instance.component());
    FUnknownPtr<FUnknown> controller(instance.controller());
    return component.get() != controller.get();
}

} // namespace

std::optional<PluginState> saveState(const PluginInstance& instance, std::string& error)
{
    PluginState state;
    auto componentStream = owned(new MemoryStream());
    const tresult componentResult = instance.component()->getState(componentStream);
    if (componentResult != kResultOk) {
        error = std::string("the component would not save its state (") + resultName(componentResult) + ")";
        return std::nullopt;
    }
    state.component = contents(*componentStream);

    if (hasSeparateController(instance)) {
        auto controllerStream = owned(new MemoryStream());
        // A controller without a state of its own is fine; a DAW keeps nothing then.
        if (instance.controller()->getState(controllerStream) == kResultOk)
            state.controller = contents(*controllerStream);
    }
    return state;
}

bool restoreState(const PluginInstance& instance, const PluginState& state, std::string& error)
{
    tresult r = instance.component()->setState(streamOver(state.component));
    if (r != kResultOk) {
        error = std::string("the component refused the state (") + resultName(r) + ")";
        return false;
    }
    if (!hasSeparateController(instance)) return true;
    IEditController* controller = instance.controller();
    r = controller->setComponentState(streamOver(state.component));
    if (r != kResultOk) {
        error = std::string("the edit controller refused the component state (") + resultName(r) + ")";
        return false;
    }
    if (!state.controller.empty()) {
        r = controller->setState(streamOver(state.controller));
        if (r != kResultOk) {
            error = std::string("the edit controller refused its own state (") + resultName(r) + ")";
            return false;
        }
    }
    return true;
}

bool writeStateFile(const std::string& path, const FUID& componentClass, const PluginState& state, std::string& error,
                    const PresetMetaInfo& info)
{
    auto file = owned(new MemoryStream());
    auto component = streamOver(state.component);
    auto controller = streamOver(state.controller);
    const std::string xml = info.empty() ? std::string() : presetMetaInfoXml(info);
    if (!PresetFile::savePreset(file, componentClass, component, state.controller.empty() ? nullptr : controller.get(),
                                xml.empty() ? nullptr : xml.c_str(), static_cast<int32>(xml.size()))) {
        error = path + ": the preset could not be composed";
        return false;
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    const std::string bytes = contents(*file);
    if (!out || !out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())) || !out.flush()) {
        error = path + ": cannot write the file";
        return false;
    }
    return true;
}

std::optional<StateFile> readStateFile(const std::string& path, std::string& error)
{
    std::string bytes;
    if (!readWholeFile(path, bytes, error)) return std::nullopt;
    auto file = parseStateFile(std::move(bytes), error);
    if (!file) error = path + ": " + error;
    return file;
}

std::optional<StateFile> parseStateFile(std::string bytes, std::string& error)
{
    StateFile result;
    if (!looksLikePreset(bytes)) {
        result.state.component = std::move(bytes);
        return result;
    }
    std::string why;
    const auto preset = readPresetChunks(bytes, why);
    if (!preset) {
        error = "a damaged preset file (" + why + ")";
        return std::nullopt;
    }
    if (!preset->componentState) {
        error = "the preset holds no component state";
        return std::nullopt;
    }
    result.isPreset = true;
    result.componentClass = preset->componentClass;
    result.state.component = std::string(*preset->componentState);
    if (preset->controllerState) result.state.controller = std::string(*preset->controllerState);
    if (preset->metaInfo) result.info = parsePresetMetaInfo(*preset->metaInfo);
    return result;
}

} // namespace vexbit::host
