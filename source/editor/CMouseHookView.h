#pragma once

#include "viewkit/OptionMenu.h"
#include "viewkit/View.h"

namespace vexbit {

// A transparent view over the whole window that opens the editor's context
// menu on a right click; every other click falls through to the controls below.
class CMouseHookView : public viewkit::CView {
public:
    // Style bit 8 of the menu is the toolkit's popup style.
    static constexpr int32_t kContextMenuStyle = 256;

    CMouseHookView(const viewkit::CRect& size, viewkit::IControlListener* menuListener);
    ~CMouseHookView() override;

    viewkit::COptionMenu* getMenu() const { return menu; }

    viewkit::CMouseEventResult onMouseDown(viewkit::CPoint& where, const viewkit::CButtonState& buttons) override;

private:
    viewkit::COptionMenu* menu;
};

} // namespace vexbit
