#pragma once

#include "pluginterfaces/vst/ivstmessage.h"

#include <cstdint>
#include <map>
#include <string>
#include <variant>
#include <vector>

namespace vexbit::fuzz {

// A host's attribute list with every attribute type. A string is handed out
// as hosts do: copied up to the caller's buffer size, with no terminator when
// it fills the buffer. Lives on the stack; reference counting is a formality.
class FuzzAttributeList : public Steinberg::Vst::IAttributeList {
public:
    using Value = std::variant<int64_t, double, std::u16string, std::vector<uint8_t>>;

    Steinberg::tresult PLUGIN_API setInt(AttrID id, Steinberg::int64 value) override;
    Steinberg::tresult PLUGIN_API getInt(AttrID id, Steinberg::int64& value) override;
    Steinberg::tresult PLUGIN_API setFloat(AttrID id, double value) override;
    Steinberg::tresult PLUGIN_API getFloat(AttrID id, double& value) override;
    Steinberg::tresult PLUGIN_API setString(AttrID id, const Steinberg::Vst::TChar* string) override;
    Steinberg::tresult PLUGIN_API getString(AttrID id, Steinberg::Vst::TChar* string,
                                            Steinberg::uint32 sizeInBytes) override;
    Steinberg::tresult PLUGIN_API setBinary(AttrID id, const void* data, Steinberg::uint32 sizeInBytes) override;
    Steinberg::tresult PLUGIN_API getBinary(AttrID id, const void*& data, Steinberg::uint32& sizeInBytes) override;

    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
    Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
    Steinberg::uint32 PLUGIN_API release() override { return 1; }

    // Strings may hold any units, unpaired surrogates and inner zeros included.
    void set(const std::string& key, Value value) { values_[key] = std::move(value); }

private:
    std::map<std::string, Value> values_;
};

// A message whose attribute list may be missing altogether.
class FuzzMessage : public Steinberg::Vst::IMessage {
public:
    FuzzMessage(std::string id, FuzzAttributeList* attributes) : id_(std::move(id)), attributes_(attributes) {}

    Steinberg::FIDString PLUGIN_API getMessageID() override { return id_.c_str(); }
    void PLUGIN_API setMessageID(Steinberg::FIDString id) override { id_ = id != nullptr ? id : ""; }
    Steinberg::Vst::IAttributeList* PLUGIN_API getAttributes() override { return attributes_; }

    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
    Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
    Steinberg::uint32 PLUGIN_API release() override { return 1; }

private:
    std::string id_;
    FuzzAttributeList* attributes_;
};

} // namespace vexbit::fuzz
