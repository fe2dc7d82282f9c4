#pragma once
#include "viewkit/ViewContainer.h"
#include <string>
#include <vector>

namespace viewkit {

// Pages of which only the selected one is a child; a strip of buttons (tabSize
// wide, half its height high) switches them. With a zero tab size there are no
// visible buttons and every page covers the whole tab view.
class CTabView : public CViewContainer {
public:
    enum TabPosition { kPositionLeft = 0, kPositionRight, kPositionTop, kPositionBottom };

    CTabView(const CRect& size, const CRect& tabSize, CBitmap* background = nullptr,
             TabPosition position = kPositionTop, int32_t style = 0);
    ~CTabView() override;

    // Adds a page; its rect is replaced by the content area. The first page becomes current.
    bool addTab(CView* page, const char* name = nullptr, CBitmap* tabBitmap = nullptr);
    // Out-of-range index: false, nothing changes.
    bool selectTab(int32_t index);
    int32_t getCurrentSelectedTab() const { return current; }
    int32_t getNbTabs() const { return static_cast<int32_t>(pages.size()); }
    CView* getTabView(int32_t index) const;

    void drawBackgroundRect(CDrawContext* context, const CRect& updateRect) override;

private:
    CRect contentRect() const;

    CRect tabSize;
    TabPosition position;
    CViewContainer* strip = nullptr;
    std::vector<CView*> pages;
    int32_t current = -1;
};

} // namespace viewkit
