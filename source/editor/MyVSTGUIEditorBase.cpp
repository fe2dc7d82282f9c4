// The editor's life: opening and closing the frame, the timer that mirrors
// the controller's values into the controls, and the link to the controller.
#include "editor/MyVSTGUIEditorBase.h"

#include "editor/CMouseHookView.h"
#include "editor/CMyTextButton.h"
#include "controller/MyVSTControllerBase.h"
#include "params/MyParameter.h"

#include "viewkit/Frame.h"
#include "viewkit/Offscreen.h"
#include "viewkit/ParamDisplay.h"

namespace vexbit {

using namespace Steinberg;
using namespace viewkit;

MyVSTGUIEditorBase::MyVSTGUIEditorBase(void* controller, ViewRect* size) : VSTGUIEditor(controller, size) {}

MyVSTGUIEditorBase::~MyVSTGUIEditorBase()
{
    // A host may release the view without removing it first.
    getTimer()->stop();
    if (frame != nullptr) MyVSTGUIEditorBase::close();
    if (MyVSTControllerBase* c = getMyController(); c != nullptr && c->getEditor() == this) c->setEditor(nullptr);
}

MyVSTControllerBase* MyVSTGUIEditorBase::getMyController() const
{
    return FCast<MyVSTControllerBase>(static_cast<FObject*>(controller));
}

MyParameter* MyVSTGUIEditorBase::findMyParameter(int32_t tag) const
{
    if (controller == nullptr) return nullptr;
    return FCast<MyParameter>(controller->getParameterObject(static_cast<Vst::ParamID>(tag)));
}

double MyVSTGUIEditorBase::currentValue(int32_t tag) const
{
    return controller != nullptr ? controller->getParamNormalized(static_cast<Vst::ParamID>(tag)) : 0.0;
}

bool PLUGIN_API MyVSTGUIEditorBase::open(void* parent, const PlatformType& /*type*/)
{
    if (frame != nullptr) return false;
    // The view tree keeps the editor's own size; the scale factor enlarges the window.
    const ViewRect unscaled = getUnscaledSize();
    const CRect frameSize(0, 0, unscaled.getWidth(), unscaled.getHeight());
    frame = new CFrame(frameSize, this);
    frame->setScaleFactor(getScaleFactor());
    frame->setBackgroundColor(toColor(Black));
    if (parent != nullptr) {
        const X11FrameConfig* config = getFrameConfig();
        if (config == nullptr || !frame->open(parent, PlatformType::kDefaultNative, config)) {
            frame->close();
            frame = nullptr;
            return false;
        }
    }
    // Tables left from an earlier open point into a frame that no longer exists.
    forgetControls();
    mouseHook = new CMouseHookView(frameSize, this);
    if (!createUI()) {
        mouseHook->forget();
        close();
        return false;
    }
    frame->addView(mouseHook);
    rememberParameterValues();
    registerWithController();
    return true;
}

void PLUGIN_API MyVSTGUIEditorBase::close()
{
    if (frame != nullptr) {
        // Closing may still commit a text being typed, which needs the tables.
        CFrame* closing = frame;
        closing->close();
        frame = nullptr;
    }
    forgetControls();
    if (MyVSTControllerBase* c = getMyController(); c != nullptr && c->getEditor() == this) c->setEditor(nullptr);
}

void MyVSTGUIEditorBase::forgetControls()
{
    mouseHook = nullptr;
    behaviours.clear();
    controlsByTag.clear();
    lastValues.clear();
    snapTags.clear();
    timerTicks = 0;
}

void MyVSTGUIEditorBase::registerWithController()
{
    // Every open editor tells the controller, also one opened again after a close.
    if (MyVSTControllerBase* c = getMyController()) c->setEditor(this);
}

void MyVSTGUIEditorBase::rememberParameterValues()
{
    if (controller == nullptr) return;
    const int32 count = controller->getParameterCount();
    for (int32 i = 0; i < count; ++i) {
        Vst::ParameterInfo info{};
        if (controller->getParameterInfo(i, info) != kResultOk) continue;
        if (findMyParameter(static_cast<int32_t>(info.id)) != nullptr)
            lastValues[static_cast<int32_t>(info.id)] = controller->getParamNormalized(info.id);
    }
}

void MyVSTGUIEditorBase::bindControl(int32_t tag, CControl* control)
{
    controlsByTag.emplace(tag, control);
}

void MyVSTGUIEditorBase::addBehaviour(CControl* control, const ControlBehaviour& behaviour)
{
    behaviours.emplace(control, behaviour);
}

CMessageResult MyVSTGUIEditorBase::notify(CBaseObject* sender, IdStringPtr message)
{
    if (message != CVSTGUITimer::kMsgTimer || frame == nullptr) return VSTGUIEditor::notify(sender, message);
    ScopedRef<CFrame> keep(frame);
    if (++timerTicks > 9) {
        // About once a second the whole window is painted anew.
        frame->invalidRect(frame->getViewSize());
        frame->setDirty(false);
        timerTicks = 0;
    }
    for (auto& [tag, last] : lastValues) {
        const double now = currentValue(tag);
        if (now == last) continue;
        last = now;
        applyValueToControls(tag, now);
    }
    return VSTGUIEditor::notify(sender, message);
}

void MyVSTGUIEditorBase::applyValueToControls(int32_t tag, double value)
{
    const auto [first, last] = controlsByTag.equal_range(tag);
    for (auto it = first; it != last; ++it) {
        CControl* control = it->second;
        control->setValueNormalized(static_cast<float>(shownValue(control, tag, value)));
        if (auto* label = dynamic_cast<CTextLabel*>(control)) updateControlText(label);
        control->setDirty();
    }
}

double MyVSTGUIEditorBase::shownValue(const CControl* control, int32_t tag, double value) const
{
    const auto id = static_cast<Vst::ParamID>(tag);
    if (controller == nullptr || dynamic_cast<const CMyTextButton*>(control) == nullptr ||
        controller->getParameterObject(id) == nullptr)
        return value;
    return controller->plainParamToNormalized(id, controller->normalizedParamToPlain(id, value));
}

} // namespace vexbit
