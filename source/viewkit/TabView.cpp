#include "viewkit/TabView.h"
#include "viewkit/Bitmap.h"
#include "viewkit/Control.h"
#include "viewkit/DrawContext.h"

namespace viewkit {

namespace {
// One button of the strip; pressed means "this page is shown".
class TabButton : public CControl {
public:
    TabButton(const CRect& r, CTabView* owner, int32_t index, const char* name, CBitmap* bitmap)
        : CControl(r, nullptr, -1, bitmap), owner(owner), index(index), name(name ? name : "")
    {}

    void draw(CDrawContext* context) override
    {
        const bool on = value >= 0.5f;
        if (background) {
            background->draw(context, size, CPoint(0, on ? size.getHeight() : 0));
        } else {
            context->setFillColor(on ? CColor(90, 90, 90) : CColor(50, 50, 50));
            context->drawRect(size, kDrawFilled);
            context->setFontColor(kWhiteCColor);
            context->drawString(name, size);
        }
        setDirty(false);
    }
    CMouseEventResult onMouseDown(CPoint&, const CButtonState& buttons) override
    {
        if (!buttons.isLeftButton()) return kMouseEventNotHandled;
        owner->selectTab(index);
        return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    }

private:
    CTabView* owner;
    int32_t index;
    std::string name;
};
} // namespace

CTabView::CTabView(const CRect& r, const CRect& ts, CBitmap* bg, TabPosition pos, int32_t)
    : CViewContainer(r), tabSize(ts), position(pos)
{
    if (bg) setBackground(bg);
    setTransparency(true);
}

CTabView::~CTabView()
{
    removeAll(true);
    for (CView* page : pages) page->forget();
}

CRect CTabView::contentRect() const
{
    CRect r = CRect(size).originize();
    const CCoord buttonHeight = tabSize.getHeight() / 2;
    switch (position) {
    case kPositionTop: r.top += buttonHeight; break;
    case kPositionBottom: r.bottom -= buttonHeight; break;
    case kPositionLeft: r.left += tabSize.getWidth(); break;
    case kPositionRight: r.right -= tabSize.getWidth(); break;
    }
    return r;
}

bool CTabView::addTab(CView* page, const char* name, CBitmap* tabBitmap)
{
    if (!page) return false;
    const CCoord w = tabSize.getWidth(), h = tabSize.getHeight() / 2;
    if (!strip) {
        CRect stripRect;
        const CRect area = CRect(size).originize();
        switch (position) {
        case kPositionTop: stripRect = CRect(0, 0, area.right, h); break;
        case kPositionBottom: stripRect = CRect(0, area.bottom - h, area.right, area.bottom); break;
        case kPositionLeft: stripRect = CRect(0, 0, w, area.bottom); break;
        case kPositionRight: stripRect = CRect(area.right - w, 0, area.right, area.bottom); break;
        }
        strip = new CViewContainer(stripRect);
        strip->setTransparency(true);
        strip->setBackgroundColor(kTransparentCColor);
        CViewContainer::addView(strip);
    }
    const auto index = static_cast<int32_t>(pages.size());
    const bool horizontal = position == kPositionTop || position == kPositionBottom;
    CRect buttonRect(0, 0, w, h);
    buttonRect.offset(horizontal ? w * index : 0, horizontal ? 0 : h * index);
    strip->addView(new TabButton(buttonRect, this, index, name, tabBitmap));
    page->setViewSize(contentRect(), false);
    page->setMouseableArea(contentRect());
    pages.push_back(page);
    if (current < 0) selectTab(0);
    return true;
}

CView* CTabView::getTabView(int32_t index) const
{
    if (index < 0 || index >= getNbTabs()) return nullptr;
    return pages[static_cast<size_t>(index)];
}

bool CTabView::selectTab(int32_t index)
{
    if (index < 0 || index >= getNbTabs()) return false;
    if (index == current) return true;
    ScopedRef<CTabView> keep(this);
    if (CView* old = getTabView(current)) removeView(old, true);
    current = index;
    CView* page = pages[static_cast<size_t>(index)];
    page->remember();
    addView(page);
    for (int32_t i = 0; strip && i < strip->getNbViews(); ++i) {
        if (auto* button = dynamic_cast<CControl*>(strip->getView(i))) {
            button->setValue(i == index ? 1.f : 0.f);
        }
    }
    invalid();
    return true;
}

void CTabView::drawBackgroundRect(CDrawContext* context, const CRect& updateRect)
{
    // Only the area below the strip gets the background.
    CRect content = contentRect();
    content.offset(size.left, size.top);
    context->saveGlobalState();
    context->setClipRect(content);
    CViewContainer::drawBackgroundRect(context, updateRect);
    context->restoreGlobalState();
}

} // namespace viewkit
