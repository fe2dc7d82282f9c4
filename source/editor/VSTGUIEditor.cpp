#include "editor/VSTGUIEditor.h"

#include "pluginterfaces/gui/iplugview.h"

#include "viewkit/DesktopScale.h"

#include <cmath>

namespace vexbit {

using namespace Steinberg;

namespace {

// The host's virtual key codes (keycodes.h of the SDK) that the view kit knows.
uint8_t toVirtualKey(int16 keyCode)
{
    switch (keyCode) {
    case 1: return viewkit::VKEY_BACK;
    case 2: return viewkit::VKEY_TAB;
    case 4: return viewkit::VKEY_RETURN;
    case 6: return viewkit::VKEY_ESCAPE;
    case 7: return viewkit::VKEY_SPACE;
    case 9: return viewkit::VKEY_END;
    case 10: return viewkit::VKEY_HOME;
    case 11: return viewkit::VKEY_LEFT;
    case 12: return viewkit::VKEY_UP;
    case 13: return viewkit::VKEY_RIGHT;
    case 14: return viewkit::VKEY_DOWN;
    case 19: return viewkit::VKEY_ENTER;
    case 22: return viewkit::VKEY_DELETE;
    default: return viewkit::VKEY_NONE;
    }
}

viewkit::VstKeyCode toKeyCode(char16 key, int16 keyCode, int16 modifiers)
{
    viewkit::VstKeyCode code;
    code.character = key;
    code.virt = toVirtualKey(keyCode);
    if (code.virt != viewkit::VKEY_NONE) code.character = 0;
    // The host's "command" is Ctrl on Linux and Windows; its "control" is the Mac's Ctrl.
    if (modifiers & 1) code.modifier |= viewkit::MODIFIER_SHIFT;
    if (modifiers & 2) code.modifier |= viewkit::MODIFIER_ALTERNATE;
    if (modifiers & 4) code.modifier |= viewkit::MODIFIER_CONTROL;
    if (modifiers & 8) code.modifier |= viewkit::MODIFIER_COMMAND;
    return code;
}

} // namespace

VSTGUIEditor::VSTGUIEditor(void* controller, ViewRect* size)
    : EditorView(static_cast<Vst::EditController*>(controller), size), unscaledSize(rect),
      timer(new viewkit::CVSTGUITimer(this, 100, false))
{}

VSTGUIEditor::~VSTGUIEditor()
{
    timer->stop();
    timer->forget();
}

void VSTGUIEditor::setIdleRate(int32 milliseconds)
{
    if (milliseconds > 0) timer->setFireTime(static_cast<uint32_t>(milliseconds));
}

tresult PLUGIN_API VSTGUIEditor::queryInterface(const TUID iid, void** obj)
{
    if (FUnknownPrivate::iidEqual(iid, IPlugViewContentScaleSupport::iid)) {
        addRef();
        *obj = static_cast<IPlugViewContentScaleSupport*>(this);
        return kResultOk;
    }
    return EditorView::queryInterface(iid, obj);
}

void VSTGUIEditor::setEditorSize(const ViewRect& size)
{
    unscaledSize = size;
    rect = scaledSize();
}

ViewRect VSTGUIEditor::scaledSize() const
{
    // Rounded up, so that no row or column of the drawing is cut off.
    return ViewRect(0, 0, static_cast<int32>(std::ceil(unscaledSize.getWidth() * scaleFactor)),
                    static_cast<int32>(std::ceil(unscaledSize.getHeight() * scaleFactor)));
}

void VSTGUIEditor::applyScaleFactor(double factor)
{
    scaleFactor = factor;
    if (frame != nullptr) frame->setScaleFactor(factor);
    ViewRect r = scaledSize();
    if (r.getWidth() == rect.getWidth() && r.getHeight() == rect.getHeight()) return;
    rect = r;
    // An open window asks the host for its new size; a closed one reports it in getSize.
    if (frame != nullptr && plugFrame != nullptr) plugFrame->resizeView(this, &r);
}

void VSTGUIEditor::followDesktopScale()
{
    if (scaleSettled) return;
    scaleSettled = true;
    applyScaleFactor(viewkit::desktopScaleFactor());
}

tresult PLUGIN_API VSTGUIEditor::setContentScaleFactor(ScaleFactor factor)
{
    if (!(factor >= viewkit::kMinScaleFactor && factor <= viewkit::kMaxScaleFactor)) return kInvalidArgument;
    // The host's word counts over the desktop's.
    scaleSettled = true;
    applyScaleFactor(factor);
    return kResultTrue;
}

tresult PLUGIN_API VSTGUIEditor::getSize(ViewRect* size)
{
    if (size == nullptr) return kInvalidArgument;
    followDesktopScale();
    *size = rect;
    return kResultTrue;
}

tresult PLUGIN_API VSTGUIEditor::checkSizeConstraint(ViewRect* size)
{
    if (size == nullptr) return kInvalidArgument;
    // The editor has one size at a given scale: any proposal becomes that size.
    followDesktopScale();
    const ViewRect fixed = scaledSize();
    size->right = size->left + fixed.getWidth();
    size->bottom = size->top + fixed.getHeight();
    return kResultTrue;
}

tresult PLUGIN_API VSTGUIEditor::attached(void* parent, FIDString type)
{
    // Hosts need not ask isPlatformTypeSupported first, so the type is checked here too.
    if (parent == nullptr || isPlatformTypeSupported(type) != kResultTrue) return kResultFalse;
    // A window that cannot be opened (no display, no run loop) is reported, not shown dead.
    followDesktopScale();
    if (!open(parent, PlatformType::kDefaultNative)) return kResultFalse;
    if (frame != nullptr) {
        ViewRect r = scaledSize();
        rect = r;
        if (plugFrame != nullptr) plugFrame->resizeView(this, &r);
    }
    timer->start();
    return EditorView::attached(parent, type);
}

tresult PLUGIN_API VSTGUIEditor::removed()
{
    timer->stop();
    // Closing the frame unregisters everything from the host's loop. The loop
    // adapter itself stays until the host sets another frame: removed() may be
    // reached from inside one of its callbacks.
    close();
    return EditorView::removed();
}

tresult PLUGIN_API VSTGUIEditor::onSize(ViewRect* newSize)
{
    if (newSize == nullptr) return kInvalidArgument;
    // The host's size is in pixels; the frame's is in its own units.
    const ViewRect fitting = scaledSize();
    if (frame != nullptr) {
        if (newSize->getWidth() == fitting.getWidth() && newSize->getHeight() == fitting.getHeight())
            frame->setSize(unscaledSize.getWidth(), unscaledSize.getHeight());
        else
            frame->setSize(newSize->getWidth() / scaleFactor, newSize->getHeight() / scaleFactor);
    }
    rect = *newSize;
    return kResultTrue;
}

tresult PLUGIN_API VSTGUIEditor::setFrame(IPlugFrame* newFrame)
{
    // The run loop belongs to the frame; a new frame means the old loop is gone.
    if (newFrame != plugFrame && this->frame == nullptr) {
        runLoop.reset();
        frameConfig.runLoop = nullptr;
    }
    plugFrame = newFrame;
    return kResultTrue;
}

tresult PLUGIN_API VSTGUIEditor::onKeyDown(char16 key, int16 keyCode, int16 modifiers)
{
    if (frame == nullptr) return kResultFalse;
    viewkit::VstKeyCode code = toKeyCode(key, keyCode, modifiers);
    return frame->onKeyDown(code) == 1 ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API VSTGUIEditor::onKeyUp(char16 key, int16 keyCode, int16 modifiers)
{
    if (frame == nullptr) return kResultFalse;
    viewkit::VstKeyCode code = toKeyCode(key, keyCode, modifiers);
    return frame->onKeyUp(code) == 1 ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API VSTGUIEditor::onWheel(float /*distance*/)
{
    // The pointer position is unknown here; wheel events reach our window directly.
    return kResultFalse;
}

void VSTGUIEditor::beginEdit(int32_t tag)
{
    if (controller != nullptr) controller->beginEdit(static_cast<Vst::ParamID>(tag));
}

void VSTGUIEditor::endEdit(int32_t tag)
{
    if (controller != nullptr) controller->endEdit(static_cast<Vst::ParamID>(tag));
}

int32_t VSTGUIEditor::getKnobMode() const
{
    switch (Vst::EditController::getHostKnobMode()) {
    case Vst::kRelativCircularMode: return viewkit::kRelativCircularMode;
    case Vst::kLinearMode: return viewkit::kLinearMode;
    default: return viewkit::kCircularMode;
    }
}

viewkit::CMessageResult VSTGUIEditor::notify(viewkit::CBaseObject* /*sender*/, viewkit::IdStringPtr message)
{
    if (message != viewkit::CVSTGUITimer::kMsgTimer) return viewkit::kMessageUnknown;
    if (frame != nullptr) frame->idle();
    return viewkit::kMessageNotified;
}

} // namespace vexbit
