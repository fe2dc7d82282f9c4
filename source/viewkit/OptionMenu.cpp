#include "viewkit/OptionMenu.h"
#include "viewkit/Bitmap.h"
#include "viewkit/DrawContext.h"
#include "viewkit/Frame.h"
#include "viewkit/MenuOverlay.h"

#include <algorithm>
#include <cmath>

namespace viewkit {

COptionMenu::COptionMenu() : COptionMenu(CRect(), nullptr, -1) {}

COptionMenu::COptionMenu(const CRect& r, IControlListener* l, int32_t t, CBitmap* bg, CBitmap* bgClick, int32_t s)
    : CParamDisplay(r, bg, s), bgWhenClick(bgClick)
{
    setListener(l);
    tag = t;
    setWantsFocus(true);
    if (bgWhenClick) bgWhenClick->remember();
}

COptionMenu::~COptionMenu()
{
    if (bgWhenClick) bgWhenClick->forget();
}

CMenuItem* COptionMenu::addEntry(const std::string& title, int32_t index, int32_t flags)
{
    CMenuItem item{title, flags};
    if (title == "-") item.flags |= CMenuItem::kSeparator;
    if (index < 0 || index >= getNbEntries()) {
        entries.push_back(item);
        return &entries.back();
    }
    return &*entries.insert(entries.begin() + index, item);
}

const CMenuItem* COptionMenu::getEntry(int32_t index) const
{
    if (index < 0 || index >= getNbEntries()) return nullptr;
    return &entries[static_cast<size_t>(index)];
}

bool COptionMenu::removeEntry(int32_t index)
{
    if (index < 0 || index >= getNbEntries()) return false;
    entries.erase(entries.begin() + index);
    setDirty();
    return true;
}

void COptionMenu::removeAllEntry()
{
    entries.clear();
    setDirty();
}

void COptionMenu::checkEntry(int32_t index, bool state)
{
    if (index < 0 || index >= getNbEntries()) return;
    auto& flags = entries[static_cast<size_t>(index)].flags;
    flags = state ? (flags | CMenuItem::kChecked) : (flags & ~CMenuItem::kChecked);
}

void COptionMenu::checkEntryAlone(int32_t index)
{
    for (int32_t i = 0; i < getNbEntries(); ++i) checkEntry(i, i == index);
}

bool COptionMenu::isCheckEntry(int32_t index) const
{
    const CMenuItem* item = getEntry(index);
    return item && (item->flags & CMenuItem::kChecked);
}

void COptionMenu::setValue(float v)
{
    if (std::isnan(v)) return;
    const long index = std::lround(v);
    if (index < 0 || index >= getNbEntries()) return;
    currentIndex = static_cast<int32_t>(index);
    value = static_cast<float>(index);
    // Old code tests "multiple check" with bit 0 of the style.
    if ((style & (kMultipleCheckStyle & ~kCheckStyle)) != 0) checkEntry(currentIndex, !isCheckEntry(currentIndex));
    setDirty();
}

void COptionMenu::setValueNormalized(float n)
{
    if (entries.size() < 2) return setValue(0);
    if (std::isnan(n)) return;
    setValue(std::round(std::clamp(n, 0.f, 1.f) * getMax()));
}

float COptionMenu::getValueNormalized() const
{
    // One entry would be 0 / 0.
    return getMax() > 0 ? value / getMax() : 0.f;
}

bool COptionMenu::popup()
{
    CFrame* f = getFrame();
    if (!f) return false;
    return openOverlay(f, getFrameRect());
}

bool COptionMenu::popup(CFrame* frame, const CPoint& where)
{
    if (!frame) return false;
    return openOverlay(frame, CRect(where.x, where.y, where.x, where.y));
}

bool COptionMenu::openOverlay(CFrame* frame, const CRect& anchor)
{
    if (entries.empty() || popupOpen || frame->getModalView()) return false;
    auto* overlay = new MenuOverlay(frame->getViewSize(), this, anchor);
    if (!frame->addView(overlay)) {
        overlay->forget();
        return false;
    }
    popupOpen = true;
    frame->setModalView(overlay);
    setDirty();
    return true;
}

void COptionMenu::onPopupClosed(int32_t index)
{
    ScopedRef<COptionMenu> keep(this);
    popupOpen = false;
    setDirty();
    if (index >= 0 && index < getNbEntries() && entries[static_cast<size_t>(index)].isSelectable()) selectByUser(index);
    invalid();
}

void COptionMenu::selectByUser(int32_t index)
{
    beginEdit();
    setValue(static_cast<float>(index));
    lastResult = index;
    valueChanged();
    endEdit();
}

CMouseEventResult COptionMenu::onMouseDown(CPoint&, const CButtonState& buttons)
{
    const int32_t b = buttons.getButtonState();
    if (b != kLButton && b != kRButton) return kMouseEventNotHandled;
    popup();
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

int32_t COptionMenu::onKeyDown(VstKeyCode& key)
{
    if (key.modifier) return -1;
    if (key.virt == VKEY_RETURN || key.virt == VKEY_ENTER) {
        popup();
        return 1;
    }
    if ((key.virt == VKEY_UP || key.virt == VKEY_DOWN) && !(style & (kMultipleCheckStyle & ~kCheckStyle))) {
        const int32_t step = key.virt == VKEY_UP ? -1 : 1;
        for (int32_t i = currentIndex + step; i >= 0 && i < getNbEntries(); i += step) {
            if (entries[static_cast<size_t>(i)].isSelectable()) {
                selectByUser(i);
                invalid();
                break;
            }
        }
        return 1;
    }
    return -1;
}

void COptionMenu::draw(CDrawContext* context)
{
    if (popupOpen && bgWhenClick) {
        bgWhenClick->draw(context, size);
    } else {
        drawBack(context);
    }
    if (const CMenuItem* item = getEntry(currentIndex)) drawPlatformText(context, item->title);
    setDirty(false);
}

} // namespace viewkit
