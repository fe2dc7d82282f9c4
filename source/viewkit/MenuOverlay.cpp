#include "viewkit/MenuOverlay.h"
#include "viewkit/DrawContext.h"
#include "viewkit/Frame.h"
#include "viewkit/OptionMenu.h"

#include <algorithm>
#include <cmath>

namespace viewkit {

namespace {
constexpr CCoord kSeparatorHeight = 7;
constexpr CColor kListBack{40, 40, 40, 255};
constexpr CColor kListFrame{160, 160, 160, 255};
constexpr CColor kHighlight{90, 120, 60, 255};
constexpr CColor kText{230, 230, 230, 255};
constexpr CColor kDisabledText{130, 130, 130, 255};

CCoord itemHeight(const CMenuItem& item)
{
    return item.isSeparator() ? kSeparatorHeight : MenuOverlay::kItemHeight;
}
} // namespace

MenuOverlay::MenuOverlay(const CRect& frameSize, COptionMenu* m, const CRect& anchor) : CView(frameSize), menu(m)
{
    menu->remember();
    setTransparency(true);
    CCoord height = 2;
    CCoord width = std::max<CCoord>(anchor.getWidth(), 60);
    for (int32_t i = 0; i < menu->getNbEntries(); ++i) {
        height += itemHeight(*menu->getEntry(i));
        width = std::max<CCoord>(width, 14 + 7.0 * static_cast<CCoord>(menu->getEntry(i)->title.size()));
    }
    width = std::min(width, frameSize.getWidth());
    height = std::min(height, frameSize.getHeight());
    // Below the control when it fits, else above it, else as low as the frame allows.
    CCoord top = anchor.bottom;
    if (top + height > frameSize.bottom) top = anchor.top - height;
    if (top < frameSize.top) top = std::max(frameSize.top, frameSize.bottom - height);
    const CCoord left = std::clamp(anchor.left, frameSize.left, std::max(frameSize.left, frameSize.right - width));
    listRect = CRect(left, top, left + width, top + height);
    highlighted = menu->getCurrentIndex();
}

MenuOverlay::~MenuOverlay()
{
    if (menu) menu->forget();
}

int32_t MenuOverlay::itemAt(const CPoint& p) const
{
    if (!listRect.pointInside(p) || !menu) return -1;
    CCoord y = listRect.top + 1;
    for (int32_t i = 0; i < menu->getNbEntries(); ++i) {
        const CCoord h = itemHeight(*menu->getEntry(i));
        if (p.y >= y && p.y < y + h) return menu->getEntry(i)->isSelectable() ? i : -1;
        y += h;
    }
    return -1;
}

void MenuOverlay::draw(CDrawContext* context)
{
    if (!menu) return;
    context->setDrawMode(kAliasing);
    context->setLineWidth(1);
    context->setFillColor(kListBack);
    context->setFrameColor(kListFrame);
    context->drawRect(listRect, kDrawFilled);
    context->drawRect(CRect(listRect).inset(0.5, 0.5), kDrawStroked);
    CCoord y = listRect.top + 1;
    for (int32_t i = 0; i < menu->getNbEntries(); ++i) {
        const CMenuItem& item = *menu->getEntry(i);
        const CRect row(listRect.left + 1, y, listRect.right - 1, y + itemHeight(item));
        if (item.isSeparator()) {
            context->drawLine({row.left + 4, std::floor(row.getCenter().y) + 0.5},
                              {row.right - 4, std::floor(row.getCenter().y) + 0.5});
        } else {
            if (i == highlighted && item.isSelectable()) {
                context->setFillColor(kHighlight);
                context->drawRect(row, kDrawFilled);
            }
            context->setFontColor(item.isSelectable() ? kText : kDisabledText);
            context->setFont(menu->getFont());
            const bool checked = item.flags & CMenuItem::kChecked;
            context->drawString(checked ? "* " + item.title : item.title, CRect(row).inset(6, 0), kLeftText);
        }
        y = row.bottom;
    }
    setDirty(false);
}

void MenuOverlay::finish(int32_t index)
{
    ScopedRef<MenuOverlay> keep(this);
    COptionMenu* m = menu;
    menu = nullptr;
    if (CFrame* f = getFrame()) {
        f->setModalView(nullptr);
        f->removeView(this, true);
    }
    if (m) {
        m->onPopupClosed(index);
        m->forget();
    }
}

CMouseEventResult MenuOverlay::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    if (!listRect.pointInside(where)) {
        finish(-1);
        return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    }
    if (!buttons.isLeftButton() && !buttons.isRightButton()) return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    const int32_t index = itemAt(where);
    if (index >= 0) finish(index);
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

CMouseEventResult MenuOverlay::onMouseUp(CPoint&, const CButtonState&)
{
    return kMouseEventHandled;
}

CMouseEventResult MenuOverlay::onMouseMoved(CPoint& where, const CButtonState&)
{
    const int32_t index = itemAt(where);
    if (index != highlighted && index >= 0) {
        highlighted = index;
        invalidRect(listRect);
    }
    return kMouseEventHandled;
}

CMouseEventResult MenuOverlay::onMouseCancel()
{
    finish(-1);
    return kMouseEventHandled;
}

int32_t MenuOverlay::onKeyDown(VstKeyCode& key)
{
    if (!menu) return -1;
    switch (key.virt) {
    case VKEY_ESCAPE: finish(-1); return 1;
    case VKEY_RETURN:
    case VKEY_ENTER: finish(highlighted); return 1;
    case VKEY_UP:
    case VKEY_DOWN: {
        const int32_t step = key.virt == VKEY_UP ? -1 : 1;
        for (int32_t i = highlighted + step; i >= 0 && i < menu->getNbEntries(); i += step) {
            if (menu->getEntry(i)->isSelectable()) {
                highlighted = i;
                invalidRect(listRect);
                break;
            }
        }
        return 1;
    }
    default: return 1;
    }
}

bool MenuOverlay::removed(CView* parent)
{
    // Torn down with the frame while open: the menu just closes, nothing is chosen.
    if (menu) {
        COptionMenu* m = menu;
        menu = nullptr;
        m->onPopupClosed(-1);
        m->forget();
    }
    return CView::removed(parent);
}

} // namespace viewkit
