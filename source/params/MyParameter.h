#pragma once

#include "params/ParamRecord.h"

#include "public.sdk/source/vst/vstparameters.h"

#include <string>
#include <vector>

namespace vexbit {

// The controller's view of one table record: the host sees the record's title,
// range, steps and display texts through the SDK's Parameter interface.
class MyParameter : public Steinberg::Vst::Parameter {
public:
    using ParamValue = Steinberg::Vst::ParamValue;
    using String128 = Steinberg::Vst::String128;
    using TChar = Steinberg::Vst::TChar;

    MyParameter() = default;

    void toString(ParamValue valueNormalized, String128 string) const override;
    bool fromString(const TChar* string, ParamValue& valueNormalized) const override;
    ParamValue toPlain(ParamValue valueNormalized) const override;
    ParamValue toNormalized(ParamValue plainValue) const override;

    virtual const ParamRecord& getRecord() const;
    virtual const TChar* getTitle() const;
    virtual const TChar* getUnits() const;
    // Takes the record and derives the host-visible info from it. The caller
    // sets the info's ID and unit first.
    virtual bool setRecord(const ParamRecord& record);
    virtual uint32_t getFlags() const;
    virtual ParamKind getKind() const;
    virtual double getMin() const;
    virtual double getMax() const;
    // The normalized step of one plain unit; 0 for a single-point range.
    virtual double getNormalizedUnit() const;
    virtual const std::vector<std::string>& getList() const;
    // The list entry the current value selects, or "" when it selects none.
    virtual const char* getSelectedString() const;
    // Replaces the text of a Text parameter; false for any other kind.
    virtual bool setText(const std::string& text);
    // Replaces the entries of a List parameter that allows it (kListInState).
    virtual bool setStringList(std::vector<std::string> list);

    OBJ_METHODS(MyParameter, Parameter)

private:
    ParamRecord record_;
};

} // namespace vexbit
