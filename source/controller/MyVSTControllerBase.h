#pragma once

#include "common/ParameterIds.h"
#include "controller/EditorControls.h"
#include "params/ParameterTable.h"

#include "public.sdk/source/vst/vsteditcontroller.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace vexbit {

class MyParameter;

// The reusable part of the edit controller: publishes the parameter table to
// the host, maps MIDI controllers to parameters, mirrors the processor's saved
// state into the parameters and sends string lists and data to the processor.
// The product's subclass fills in the hooks at the end.
class MyVSTControllerBase : public Steinberg::Vst::EditController, public Steinberg::Vst::IMidiMapping {
public:
    using tresult = Steinberg::tresult;
    using FUnknown = Steinberg::FUnknown;
    using IBStream = Steinberg::IBStream;
    using ParamID = Steinberg::Vst::ParamID;
    using ParamValue = Steinberg::Vst::ParamValue;
    using StringList = std::vector<std::string>;

    // `table` is copied into the parameters at initialize; `formatTag` names
    // the state format both the processor's state and the controller's own
    // state must carry.
    MyVSTControllerBase(const ParameterTable& table, std::string formatTag);

    // IPluginBase
    tresult PLUGIN_API initialize(FUnknown* context) override;
    tresult PLUGIN_API terminate() override;

    // IEditController
    tresult PLUGIN_API setComponentState(IBStream* state) override;
    tresult PLUGIN_API setState(IBStream* state) override;
    tresult PLUGIN_API getState(IBStream* state) override;
    tresult PLUGIN_API getParameterInfo(Steinberg::int32 paramIndex, Steinberg::Vst::ParameterInfo& info) override;
    Steinberg::IPlugView* PLUGIN_API createView(Steinberg::FIDString name) override;
    // A value that is not a number is refused; the parameter keeps its last good value.
    tresult PLUGIN_API setParamNormalized(ParamID tag, ParamValue value) override;
    // Normalized values from the host are clamped to 0..1; a non-finite one is
    // refused (or, where the answer is a number, taken as 0). Results are
    // always finite and normalized results within 0..1.
    tresult PLUGIN_API getParamStringByValue(ParamID tag, ParamValue valueNormalized,
                                             Steinberg::Vst::String128 string) override;
    tresult PLUGIN_API getParamValueByString(ParamID tag, Steinberg::Vst::TChar* string,
                                             ParamValue& valueNormalized) override;
    ParamValue PLUGIN_API normalizedParamToPlain(ParamID tag, ParamValue valueNormalized) override;
    ParamValue PLUGIN_API plainParamToNormalized(ParamID tag, ParamValue plainValue) override;

    // IMidiMapping
    tresult PLUGIN_API getMidiControllerAssignment(Steinberg::int32 busIndex, Steinberg::int16 channel,
                                                   Steinberg::Vst::CtrlNumber midiControllerNumber,
                                                   ParamID& id) override;

    // IConnectionPoint
    tresult PLUGIN_API notify(Steinberg::Vst::IMessage* message) override;

    // Tells the subclass about the edit before the host hears of it.
    tresult performEdit(ParamID tag, ParamValue valueNormalized) override;

    // Text parameters: the new text is kept, announced and sent to the processor.
    virtual tresult setParamString(ParamID id, const std::u16string& text, bool restart);
    virtual tresult setParamString(ParamID id, const std::string& text, bool restart);
    // List parameters that accept new entries at run time.
    virtual tresult setParamStringList(ParamID id, const std::vector<std::u16string>& list);
    virtual tresult setParamStringList(ParamID id, const StringList& list, bool restart);
    // Messages to the connected processor; kResultFalse when none could be delivered.
    virtual tresult sendParamStringList(ParamID id, const StringList& list);
    virtual tresult sendData(Steinberg::uint32 tag, const void* bytes, Steinberg::uint64 byteCount);

    // Hooks of the product's controller.
    virtual bool paramValueChanged(ParamID id, ParamValue oldValue, ParamValue newValue) = 0;
    virtual bool approveTextChange(ParamID id, const std::string& oldText, const std::string& newText) = 0;
    virtual void componentStateLoaded(IBStream* state) = 0;
    virtual void writeControllerState(IBStream* state) = 0;
    virtual void readControllerState(IBStream* state) = 0;

    // The open editor, if any; the editor clears it when it closes.
    EditorControls* getEditor() const { return editor; }
    void setEditor(EditorControls* view) { editor = view; }

    // The table parameter of this ID, or null (also for "Bypass").
    MyParameter* getMyParameter(ParamID id);
    const std::string& getFormatTag() const { return formatTag; }

    OBJ_METHODS(MyVSTControllerBase, EditController)
    tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
    REFCOUNT_METHODS(EditController)

protected:
    tresult restartWith(Steinberg::int32 flags);

    std::map<Steinberg::int16, ParamID> ccToParam;
    EditorControls* editor = nullptr;

private:
    void addBypassParameter();
    void addTableParameters();

    ParameterTable table;
    std::string formatTag;
};

} // namespace vexbit
