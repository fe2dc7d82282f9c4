#pragma once

#include "viewkit/Bitmap.h"
#include "viewkit/Color.h"
#include "viewkit/Control.h"
#include "viewkit/DrawMethods.h"
#include "viewkit/Font.h"
#include "viewkit/Gradient.h"
#include "viewkit/GraphicsPath.h"

#include <string>

namespace vexbit {

// Two numbers that let buttons be grouped; nothing in this editor sets them.
class CControlGroup {
public:
    int32_t group = -1;
    int32_t groupValue = 0;
};

// A text button that takes effect on press: it reports its new value while
// the mouse is still down, and again whenever the pointer leaves or re-enters
// it. On/off buttons toggle; kick buttons fall back to off when released.
class CMyTextButton : public viewkit::CControl, public CControlGroup {
public:
    enum Style : int32_t { kKickStyle = 0, kOnOffStyle = 1 };
    using IconPosition = viewkit::CDrawMethods::IconPosition;

    CMyTextButton(const viewkit::CRect& size, viewkit::IControlListener* listener, int32_t tag,
                  const std::string& title, Style style = kKickStyle);
    ~CMyTextButton() override;

    // A new button with every property of this one.
    CMyTextButton* newCopy() const;

    void setTitle(const std::string& title);
    const std::string& getTitle() const { return title; }
    void setFont(viewkit::CFontRef font);
    viewkit::CFontRef getFont() const { return font; }
    void setTextColor(const viewkit::CColor& color);
    void setTextColorHighlighted(const viewkit::CColor& color);
    const viewkit::CColor& getTextColorHighlighted() const { return textColorHighlighted; }
    void setGradient(viewkit::CGradient* gradient);
    viewkit::CGradient* getGradient() const { return gradient; }
    void setGradientHighlighted(viewkit::CGradient* gradient);
    void setFrameColor(const viewkit::CColor& color);
    void setFrameColorHighlighted(const viewkit::CColor& color);
    void setFrameWidth(viewkit::CCoord width);
    void setRoundRadius(viewkit::CCoord radius);
    viewkit::CCoord getRoundRadius() const { return roundRadius; }
    void setStyle(Style newStyle);
    Style getStyle() const { return style; }
    void setIcon(viewkit::CBitmap* bitmap);
    void setIconHighlighted(viewkit::CBitmap* bitmap);
    void setIconPosition(IconPosition position);
    void setTextMargin(viewkit::CCoord margin);
    void setTextAlignment(viewkit::CHoriTxtAlign alignment);
    // Shown instead of the icons while the button takes no mouse input.
    void setDisabledBackground(viewkit::CBitmap* bitmap);

    bool isOn() const { return getValue() == getMax(); }

    void draw(viewkit::CDrawContext* context) override;
    viewkit::CMouseEventResult onMouseDown(viewkit::CPoint& where, const viewkit::CButtonState& buttons) override;
    viewkit::CMouseEventResult onMouseUp(viewkit::CPoint& where, const viewkit::CButtonState& buttons) override;
    viewkit::CMouseEventResult onMouseMoved(viewkit::CPoint& where, const viewkit::CButtonState& buttons) override;
    viewkit::CMouseEventResult onMouseCancel() override;
    int32_t onKeyDown(viewkit::VstKeyCode& key) override;
    void setViewSize(const viewkit::CRect& rect, bool invalid = true) override;
    bool removed(viewkit::CView* parent) override;

    // Widens the button to its title; false when there is nothing to measure.
    bool sizeToFit();
    bool drawFocusOnTop() const { return false; }
    // The focus ring: the button's outline grown by focusWidth, with the outline itself cut out.
    bool getFocusPath(viewkit::CGraphicsPath& path, viewkit::CCoord focusWidth) const;

private:
    void dropOutline();
    void setAndReport(float v);

    std::string title;
    Style style;
    viewkit::CFontRef font = nullptr;
    viewkit::CColor textColor;
    viewkit::CColor textColorHighlighted;
    viewkit::CGradient* gradient = nullptr;
    viewkit::CGradient* gradientHighlighted = nullptr;
    viewkit::CColor frameColor;
    viewkit::CColor frameColorHighlighted;
    viewkit::CCoord frameWidth = 1.0;
    viewkit::CCoord roundRadius = 6.0;
    viewkit::CBitmap* icon = nullptr;
    viewkit::CBitmap* iconHighlighted = nullptr;
    viewkit::CBitmap* disabledBackground = nullptr;
    IconPosition iconPosition = viewkit::CDrawMethods::kIconLeft;
    viewkit::CCoord textMargin = 0.0;
    viewkit::CHoriTxtAlign textAlignment = viewkit::kCenterText;
    viewkit::CGraphicsPath* outline = nullptr;
    float entryValue = 0.f;
};

} // namespace vexbit
