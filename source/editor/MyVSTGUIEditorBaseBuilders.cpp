// One builder per kind of control: look, initial value and binding.
#include "editor/MyVSTGUIEditorBase.h"

#include "editor/CMyTextButton.h"
#include "editor/StepperTextFunctions.h"
#include "controller/MyVSTControllerBase.h"
#include "params/MyParameter.h"
#include "common/Utf.h"

#include "viewkit/AnimKnob.h"
#include "viewkit/Bitmap.h"
#include "editor/layout/EditorGeometry.h"
#include "viewkit/Gradient.h"
#include "viewkit/OptionMenu.h"
#include "viewkit/RockerSwitch.h"
#include "viewkit/Slider.h"
#include "viewkit/TextEdit.h"

namespace vexbit {

using namespace Steinberg;
using namespace viewkit;

namespace {

CRect rectAt(int x, int y, int w, int h)
{
    return CRect(x, y, x + w, y + h);
}

void styleButton(CMyTextButton* button)
{
    button->setTextColor(toColor(Black));
    button->setTextColorHighlighted(toColor(Black));
    button->setFrameColor(toColor(Green));
    button->setFrameColorHighlighted(toColor(Green));
    CGradient* off = CGradient::create(0.0, 1.0, toColor(DarkGreen), toColor(DarkGreen));
    CGradient* on = CGradient::create(0.0, 1.0, toColor(Green), toColor(Green));
    button->setGradient(off);
    button->setGradientHighlighted(on);
    off->forget();
    on->forget();
    button->setRoundRadius(2.0);
}

void styleTextField(CParamDisplay* field)
{
    field->setFontColor(toColor(PaleGreen));
    field->setBackColor(toColor(DarkGreen));
    field->setFrameColor(toColor(Green));
}

} // namespace

CTextLabel* MyVSTGUIEditorBase::addLabel(CViewContainer* parent, int x, int y, int w, const std::string& text)
{
    auto* label = new CTextLabel(rectAt(x, y, w, kRowHeight), text.c_str(), nullptr, 0);
    label->setFontColor(toColor(Green));
    label->setBackColor(toColor(Clear));
    label->setFrameColor(toColor(Clear));
    parent->addView(label);
    return label;
}

CTextLabel* MyVSTGUIEditorBase::addTitleBar(CViewContainer* parent, int x, int y, int w, int h, const std::string& text)
{
    auto* bar = new CTextLabel(rectAt(x, y, w, h), text.c_str(), nullptr, 0);
    bar->setFontColor(toColor(Black));
    bar->setBackColor(toColor(Green));
    bar->setFrameColor(toColor(Green));
    parent->addView(bar);
    return bar;
}

CControl* MyVSTGUIEditorBase::addOnOffButton(CViewContainer* parent, int32_t tag, int x, int y, int w, int h,
                                             const std::string& title)
{
    auto* button = new CMyTextButton(rectAt(x, y, w, h), this, tag, title, CMyTextButton::kOnOffStyle);
    styleButton(button);
    button->setValueNormalized(static_cast<float>(currentValue(tag)));
    parent->addView(button);
    bindControl(tag, button);
    return button;
}

CControl* MyVSTGUIEditorBase::addKickButton(CViewContainer* parent, int32_t tag, int x, int y, int h,
                                            const std::string& title)
{
    auto* button = new CMyTextButton(rectAt(x, y, kKickButtonWidth, h), this, tag, title, CMyTextButton::kKickStyle);
    styleButton(button);
    parent->addView(button);
    return button;
}

CControl* MyVSTGUIEditorBase::addKnob(CViewContainer* parent, int32_t tag, int x, int y)
{
    auto* bitmap = new CBitmap(CResourceDescription(std::string(kKnobResource)));
    // Without its artwork the knob keeps its nominal size, so it can still be found and used.
    const int w = bitmap->isLoaded() ? static_cast<int>(bitmap->getWidth()) : kKnobSize;
    const int h = bitmap->isLoaded() ? static_cast<int>(bitmap->getHeight()) / kKnobFrames : kKnobSize;
    auto* knob = new CAnimKnob(rectAt(x, y, w, h), this, tag, kKnobFrames, h, bitmap, CPoint(0, 0));
    bitmap->forget();
    knob->setValueNormalized(static_cast<float>(currentValue(tag)));
    parent->addView(knob);
    bindControl(tag, knob);
    return knob;
}

CControl* MyVSTGUIEditorBase::addSlider(CViewContainer* parent, int32_t tag, int x, int y, int w)
{
    auto* slider =
        new CHorizontalSlider(rectAt(x, y, w, kRowHeight), this, tag, x, x + w, nullptr, nullptr, CPoint(0, 0), kLeft);
    slider->setDrawStyle(CHorizontalSlider::kDrawFrame | CHorizontalSlider::kDrawBack | CHorizontalSlider::kDrawValue);
    slider->setFrameColor(toColor(Green));
    slider->setBackColor(toColor(Black));
    slider->setValueColor(toColor(LightGreen));
    slider->setValueNormalized(static_cast<float>(currentValue(tag)));
    parent->addView(slider);
    bindControl(tag, slider);
    return slider;
}

CControl* MyVSTGUIEditorBase::addRockerSwitch(CViewContainer* parent, int x, int y)
{
    auto* bitmap = new CBitmap(CResourceDescription(std::string(kRockerResource)));
    const int w = bitmap->isLoaded() ? static_cast<int>(bitmap->getWidth()) : kRockerSize;
    const int h = bitmap->isLoaded() ? static_cast<int>(bitmap->getHeight()) / kRockerFrames : kRockerSize;
    auto* rocker = new CRockerSwitch(rectAt(x, y, w, h), this, -1, h, bitmap, CPoint(0, 0), kVertical);
    bitmap->forget();
    rocker->setValueNormalized(0.5f);
    parent->addView(rocker);
    return rocker;
}

CControl* MyVSTGUIEditorBase::addTextEdit(CViewContainer* parent, int32_t tag, int x, int y, int w)
{
    std::string text;
    if (getMyController() != nullptr) {
        if (const MyParameter* parameter = findMyParameter(tag)) text = parameter->getSelectedString();
    }
    if (text.empty() && controller != nullptr) {
        Vst::String128 string{};
        if (controller->getParamStringByValue(static_cast<Vst::ParamID>(tag), currentValue(tag), string) == kResultOk)
            text = utf16ToUtf8(string, 128);
    }
    auto* edit = new CTextEdit(rectAt(x, y, w, kRowHeight), this, tag, text.c_str(), nullptr, 0);
    styleTextField(edit);
    // The field's value is what a text that cannot be parsed leaves unchanged; keep it current.
    edit->CControl::setValue(static_cast<float>(currentValue(tag)));
    registerTextEdit(edit);
    parent->addView(edit);
    bindControl(tag, edit);
    return edit;
}

CControl* MyVSTGUIEditorBase::addStepper(CViewContainer* parent, int32_t tag, int x, int y, int w, double plainStep)
{
    CControl* rocker = addRockerSwitch(parent, x + w - kRockerSize, y);
    registerStepper(rocker, tag, plainStep);
    auto* edit = static_cast<CTextEdit*>(addTextEdit(parent, tag, x, y, w - 25));
    edit->setStringToValueFunction(stepperStringToValue);
    edit->setValueToStringFunction(stepperValueToString);
    return edit;
}

CControl* MyVSTGUIEditorBase::addOptionMenu(CViewContainer* parent, int32_t tag, int x, int y, int w)
{
    auto* menu = new COptionMenu(rectAt(x, y, w, kRowHeight), this, tag, nullptr, nullptr, 0);
    styleTextField(menu);
    if (const MyParameter* parameter = findMyParameter(tag)) {
        for (const std::string& entry : parameter->getList()) menu->addEntry(entry);
    }
    menu->setValueNormalized(static_cast<float>(currentValue(tag)));
    parent->addView(menu);
    bindControl(tag, menu);
    return menu;
}

} // namespace vexbit
