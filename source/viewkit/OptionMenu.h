#pragma once
#include "viewkit/ParamDisplay.h"
#include <string>
#include <vector>

namespace viewkit {

class CFrame;

struct CMenuItem {
    enum Flags : int32_t { kNoFlags = 0, kDisabled = 1 << 0, kTitle = 1 << 1, kChecked = 1 << 3, kSeparator = 1 << 4 };
    std::string title;
    int32_t flags = kNoFlags;
    bool isSeparator() const { return flags & kSeparator; }
    bool isSelectable() const { return !(flags & (kSeparator | kTitle | kDisabled)); }
};

// A list of entries shown as a popup; the value is the index of the chosen entry.
// Popups are drawn inside the frame (MenuOverlay) and never block.
class COptionMenu : public CParamDisplay {
public:
    COptionMenu();
    COptionMenu(const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background = nullptr,
                CBitmap* bgWhenClick = nullptr, int32_t style = 0);
    ~COptionMenu() override;

    // A title of exactly "-" becomes a separator. index < 0 appends.
    CMenuItem* addEntry(const std::string& title, int32_t index = -1, int32_t flags = CMenuItem::kNoFlags);
    int32_t getNbEntries() const { return static_cast<int32_t>(entries.size()); }
    const CMenuItem* getEntry(int32_t index) const;
    bool removeEntry(int32_t index);
    // Keeps the current index: the entry at that index shows once entries exist again.
    void removeAllEntry();
    void checkEntry(int32_t index, bool state);
    void checkEntryAlone(int32_t index);
    bool isCheckEntry(int32_t index) const;
    int32_t getCurrentIndex() const { return currentIndex; }
    int32_t getLastResult() const { return lastResult; }

    float getMin() const override { return 0; }
    float getMax() const override { return entries.empty() ? 0.f : static_cast<float>(entries.size() - 1); }
    void setMin(float) override {}
    void setMax(float) override {}
    // Rounds to an index; an index outside the entries is ignored.
    void setValue(float v) override;
    void setValueNormalized(float n) override;
    float getValueNormalized() const override;

    // Opens the menu below the control (in the tree) and returns at once.
    bool popup();
    // Opens a menu that is not in the tree at `where` (frame coordinates).
    bool popup(CFrame* frame, const CPoint& where);
    bool isPopupOpen() const { return popupOpen; }
    // The overlay reports the chosen entry, or -1 when dismissed.
    void onPopupClosed(int32_t index);

    void draw(CDrawContext* context) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    int32_t onKeyDown(VstKeyCode& key) override;

private:
    bool openOverlay(CFrame* frame, const CRect& anchor);
    void selectByUser(int32_t index);

    std::vector<CMenuItem> entries;
    int32_t currentIndex = -1;
    int32_t lastResult = -1;
    CBitmap* bgWhenClick = nullptr;
    bool popupOpen = false;
};

} // namespace viewkit
