#include "editor/CMouseHookView.h"

#include "viewkit/Frame.h"

namespace vexbit {

using namespace viewkit;

CMouseHookView::CMouseHookView(const CRect& size, IControlListener* menuListener) : CView(size), menu(new COptionMenu())
{
    menu->setStyle(kContextMenuStyle);
    menu->setListener(menuListener);
    setTransparency(true);
}

CMouseHookView::~CMouseHookView()
{
    menu->forget();
}

CMouseEventResult CMouseHookView::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    // Only the right button alone counts; modifier keys are not looked at.
    if (buttons.getButtonState() != kRButton) return kMouseEventNotImplemented;
    if (CFrame* frame = getFrame()) menu->popup(frame, localToFrame(where));
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

} // namespace vexbit
