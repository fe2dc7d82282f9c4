#pragma once
#include "viewkit/Color.h"
#include "viewkit/Control.h"
#include "viewkit/Font.h"
#include <functional>
#include <string>

namespace viewkit {

class CDrawContext;

// A control that shows its value as text on a filled, framed background.
// It ignores the mouse but, being opaque, still stops clicks.
class CParamDisplay : public CControl {
public:
    using ValueToStringFunction = std::function<bool(float value, char utf8String[256], CParamDisplay* display)>;

    CParamDisplay(const CRect& size, CBitmap* background = nullptr, int32_t style = 0);
    ~CParamDisplay() override;

    void setValueToStringFunction(ValueToStringFunction fn) { valueToString = std::move(fn); }
    void setFont(CFontRef font);
    CFontRef getFont() const { return font; }
    void setFontColor(const CColor& c)
    {
        fontColor = c;
        setDirty();
    }
    const CColor& getFontColor() const { return fontColor; }
    void setBackColor(const CColor& c)
    {
        backColor = c;
        setDirty();
    }
    const CColor& getBackColor() const { return backColor; }
    void setFrameColor(const CColor& c)
    {
        frameColor = c;
        setDirty();
    }
    void setPrecision(uint8_t p)
    {
        precision = p;
        setDirty();
    }
    uint8_t getPrecision() const { return precision; }
    void setFrameWidth(CCoord w)
    {
        frameWidth = w;
        setDirty();
    }
    void setStyle(int32_t s)
    {
        style = s;
        setDirty();
    }
    int32_t getStyle() const { return style; }

    void draw(CDrawContext* context) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;

protected:
    // The text for a value: the formatting function's when it accepts, else "%.<precision>f".
    std::string formatValue(float v);
    virtual void drawBack(CDrawContext* context);
    virtual void drawPlatformText(CDrawContext* context, const std::string& text);

    ValueToStringFunction valueToString;
    CFontRef font = nullptr;
    CColor fontColor = kWhiteCColor;
    CColor backColor = kBlackCColor;
    CColor frameColor = kBlackCColor;
    CColor shadowColor = kRedCColor;
    CHoriTxtAlign horiAlign = kCenterText;
    CPoint textInset;
    uint8_t precision = 2;
    CCoord roundRectRadius = 6;
    CCoord frameWidth = 1;
    bool antialias = true;
    int32_t style;
};

// Shows a fixed UTF-8 text instead of the value.
class CTextLabel : public CParamDisplay {
public:
    CTextLabel(const CRect& size, const char* txt = nullptr, CBitmap* background = nullptr, int32_t style = 0);
    // Marks the label dirty only when the text changes; never notifies.
    virtual void setText(const std::string& txt);
    const std::string& getText() const { return text; }
    void draw(CDrawContext* context) override;

protected:
    std::string text;
};

} // namespace viewkit
