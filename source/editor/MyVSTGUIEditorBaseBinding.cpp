// From controls to the controller and back: user changes, behaviours, refreshes.
#include "editor/MyVSTGUIEditorBase.h"

#include "editor/CMouseHookView.h"
#include "controller/MyVSTControllerBase.h"
#include "params/MyParameter.h"
#include "common/Utf.h"

#include "viewkit/Frame.h"
#include "viewkit/OptionMenu.h"
#include "viewkit/TextEdit.h"

#include <algorithm>
#include <cmath>

namespace vexbit {

using namespace Steinberg;
using namespace viewkit;

void MyVSTGUIEditorBase::valueChanged(CControl* control)
{
    if (control == nullptr || frame == nullptr) return;
    if (mouseHook != nullptr && control == mouseHook->getMenu()) {
        onContextMenu(mouseHook->getMenu()->getLastResult());
        return;
    }
    ScopedRef<CControl> keepControl(control);
    ScopedRef<CFrame> keepFrame(frame);
    const int32_t tag = control->getTag();
    double value = control->getValueNormalized();
    const auto id = static_cast<Vst::ParamID>(tag);

    if (std::find(snapTags.begin(), snapTags.end(), tag) != snapTags.end() &&
        controller->getParameterObject(id) != nullptr) {
        const double plain = controller->normalizedParamToPlain(id, value);
        const float whole = std::round(static_cast<float>(plain));
        value = controller->plainParamToNormalized(id, whole);
    }

    const auto [first, last] = behaviours.equal_range(control);
    if (first == last) {
        setParameter(tag, value);
        return;
    }
    // Handlers may change the tables; work on a copy of this control's records.
    std::vector<ControlBehaviour> records;
    for (auto it = first; it != last; ++it) records.push_back(it->second);
    for (const ControlBehaviour& record : records) {
        if (frame == nullptr) return; // a handler closed the editor: its controls are gone
        switch (record.kind) {
        case ControlBehaviour::TextEdit: onTextEdited(control, tag, value); break;
        case ControlBehaviour::SnapToggle: setSnap(record.tag, value > 0.5); break;
        case ControlBehaviour::Step:
            // The upper half of a rocker reports its minimum: that steps up.
            if (value < 0.5)
                stepParameter(record.tag, record.step);
            else if (value > 0.5)
                stepParameter(record.tag, -record.step);
            control->setValue(control->getValue());
            control->setDirty();
            break;
        default: {
            int32_t customTag = tag;
            double customValue = value;
            onCustomControl(record.kind, control, customTag, customValue);
            break;
        }
        }
    }
}

void MyVSTGUIEditorBase::setParameter(int32_t tag, double value)
{
    if (controller == nullptr || std::isnan(value)) return;
    // Steps past either end of the range must not reach the host as such.
    value = std::clamp(value, 0.0, 1.0);
    const auto id = static_cast<Vst::ParamID>(tag);
    controller->performEdit(id, value);
    if (controller->getParameterObject(id) != nullptr)
        value = controller->plainParamToNormalized(id, controller->normalizedParamToPlain(id, value));
    controller->setParamNormalized(id, value);
    // The controls show this value now; without noting it here the timer would
    // miss a later host change back to the value it saw before.
    if (auto seen = lastValues.find(tag); seen != lastValues.end()) seen->second = controller->getParamNormalized(id);
    applyValueToControls(tag, value);
}

void MyVSTGUIEditorBase::setParameterValue(int32_t tag, double value)
{
    setParameter(tag, value);
}

void MyVSTGUIEditorBase::stepParameter(int32_t tag, double delta)
{
    setParameter(tag, std::clamp(currentValue(tag) + delta, 0.0, 1.0));
}

void MyVSTGUIEditorBase::setSnap(int32_t tag, bool on)
{
    const auto found = std::find(snapTags.begin(), snapTags.end(), tag);
    if (on && found == snapTags.end())
        snapTags.push_back(tag);
    else if (!on && found != snapTags.end())
        snapTags.erase(found);
}

void MyVSTGUIEditorBase::onTextEdited(CControl* control, int32_t tag, double value)
{
    if (auto* edit = dynamic_cast<CTextEdit*>(control)) {
        if (MyVSTControllerBase* c = getMyController())
            c->setParamString(static_cast<Vst::ParamID>(tag), edit->getText(), true);
    }
    setParameter(tag, value);
}

void MyVSTGUIEditorBase::registerTextEdit(CControl* control)
{
    addBehaviour(control, {ControlBehaviour::TextEdit, control->getTag(), 0.0});
}

void MyVSTGUIEditorBase::registerSnapToggle(CControl* control, int32_t tag)
{
    addBehaviour(control, {ControlBehaviour::SnapToggle, tag, 0.0});
}

void MyVSTGUIEditorBase::registerStepper(CControl* control, int32_t tag, double plainStep)
{
    const MyParameter* parameter = findMyParameter(tag);
    const double step = parameter != nullptr ? plainStep * parameter->getNormalizedUnit() : 0.0;
    addBehaviour(control, {ControlBehaviour::Step, tag, step});
}

void MyVSTGUIEditorBase::updateControls(int32_t tag)
{
    std::vector<CControl*> bound;
    const auto [first, last] = controlsByTag.equal_range(tag);
    for (auto it = first; it != last; ++it) bound.push_back(it->second);
    for (CControl* control : bound) updateControl(control);
}

void MyVSTGUIEditorBase::updateControl(CControl* control)
{
    if (control == nullptr) return;
    const int32_t tag = control->getTag();
    const MyParameter* parameter = findMyParameter(tag);
    if (auto* label = dynamic_cast<CTextLabel*>(control); label != nullptr && parameter != nullptr)
        label->CTextLabel::setText(parameter->getSelectedString());
    if (auto* menu = dynamic_cast<COptionMenu*>(control)) {
        menu->removeAllEntry();
        if (parameter != nullptr) {
            for (const std::string& entry : parameter->getList()) menu->addEntry(entry);
        }
    }
    control->setValueNormalized(static_cast<float>(shownValue(control, tag, currentValue(tag))));
    control->setDirty();
}

void MyVSTGUIEditorBase::updateControlText(CTextLabel* label)
{
    if (label == nullptr) return;
    const MyParameter* parameter = findMyParameter(label->getTag());
    if (parameter == nullptr) return;
    std::string text;
    const ParamKind kind = parameter->getKind();
    if (kind == ParamKind::Text || kind == ParamKind::List) {
        text = parameter->getSelectedString();
    } else {
        Vst::String128 string{};
        parameter->toString(parameter->getNormalized(), string);
        text = utf16ToUtf8(string, 128);
    }
    // Set as shown; parsing it again would only round the field's value.
    label->CTextLabel::setText(text);
}

} // namespace vexbit
