#pragma once

#include "controller/MyVSTControllerBase.h"
#include "support/RecordingHandler.h"

#include "base/source/fobject.h"
#include "pluginterfaces/base/ibstream.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstmessage.h"

#include <map>
#include <string>
#include <vector>

namespace vexbit::test {

// A connection peer that keeps a copy of every message it is sent.
class RecordingPeer : public Steinberg::FObject, public Steinberg::Vst::IConnectionPoint {
public:
    struct Message {
        std::string id;
        std::map<std::string, std::string> binary; // attribute name -> bytes
    };

    Steinberg::tresult PLUGIN_API connect(Steinberg::Vst::IConnectionPoint*) override { return Steinberg::kResultOk; }
    Steinberg::tresult PLUGIN_API disconnect(Steinberg::Vst::IConnectionPoint*) override
    {
        return Steinberg::kResultOk;
    }
    Steinberg::tresult PLUGIN_API notify(Steinberg::Vst::IMessage* message) override;

    std::vector<Message> received;

    OBJ_METHODS(RecordingPeer, FObject)
    DEFINE_INTERFACES
    DEF_INTERFACE(Steinberg::Vst::IConnectionPoint)
    END_DEFINE_INTERFACES(FObject)
    REFCOUNT_METHODS(FObject)
};

// A controller over any table whose hooks record what the base tells them.
class RecordingController : public MyVSTControllerBase {
public:
    struct Change {
        ParamID id;
        ParamValue oldValue;
        ParamValue newValue;
    };
    struct TextChange {
        ParamID id;
        std::string oldText;
        std::string newText;
    };

    explicit RecordingController(const ParameterTable& table) : MyVSTControllerBase(table, "2.0") {}

    bool paramValueChanged(ParamID id, ParamValue oldValue, ParamValue newValue) override
    {
        changes.push_back({id, oldValue, newValue});
        return false;
    }
    bool approveTextChange(ParamID id, const std::string& oldText, const std::string& newText) override
    {
        textChanges.push_back({id, oldText, newText});
        return approveTexts;
    }
    void componentStateLoaded(IBStream*) override { ++statesLoaded; }
    void writeControllerState(IBStream* state) override
    {
        if (!ownState.empty()) state->write(ownState.data(), static_cast<Steinberg::int32>(ownState.size()), nullptr);
    }
    void readControllerState(IBStream* state) override
    {
        char buffer[64] = {};
        Steinberg::int32 got = 0;
        state->read(buffer, sizeof buffer, &got);
        ownStateRead.assign(buffer, static_cast<size_t>(got));
    }

    std::vector<Change> changes;
    std::vector<TextChange> textChanges;
    int statesLoaded = 0;
    bool approveTexts = true;
    std::string ownState;
    std::string ownStateRead;
};

// A small table with one parameter of every kind the controller treats apart.
ParameterTable kitTable();

// IDs of kitTable().
inline constexpr Steinberg::Vst::ParamID kLevel = 10;   // Linear 0..100, default 50, CC 7
inline constexpr Steinberg::Vst::ParamID kName = 20;    // Text, "first"
inline constexpr Steinberg::Vst::ParamID kPattern = 30; // List with kListInState: a, b, c; CC 8
inline constexpr Steinberg::Vst::ParamID kSwitch = 40;  // switch Off/On, fixed entries
inline constexpr Steinberg::Vst::ParamID kVoices = 50;  // Integer 1..8, default 2

// The 4-byte little-endian number in an attribute.
uint32_t attributeU32(const std::string& bytes);

} // namespace vexbit::test
