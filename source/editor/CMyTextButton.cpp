#include "editor/CMyTextButton.h"

#include "viewkit/DrawContext.h"

namespace vexbit {

using namespace viewkit;

namespace {

template <class T>
void replaceShared(T*& field, T* object)
{
    if (object) object->remember();
    if (field) field->forget();
    field = object;
}

bool insideEdgesIncluded(const CRect& r, const CPoint& p)
{
    return p.x >= r.left && p.x <= r.right && p.y >= r.top && p.y <= r.bottom;
}

} // namespace

CMyTextButton::CMyTextButton(const CRect& size, IControlListener* listener, int32_t tag, const std::string& text,
                             Style buttonStyle)
    : CControl(size, listener, tag), title(text), style(buttonStyle), textColor(kBlackCColor),
      textColorHighlighted(kWhiteCColor), frameColor(kBlackCColor), frameColorHighlighted(kBlackCColor)
{
    setFont(kSystemFont);
    CGradient* off = CGradient::create(0.0, 1.0, CColor(220, 220, 220, 255), CColor(180, 180, 180, 255));
    CGradient* on = CGradient::create(0.0, 1.0, CColor(180, 180, 180, 255), CColor(100, 100, 100, 255));
    setGradient(off);
    setGradientHighlighted(on);
    off->forget();
    on->forget();
    setWantsFocus(true);
}

CMyTextButton::~CMyTextButton()
{
    replaceShared<CFontDesc>(font, nullptr);
    replaceShared<CGradient>(gradient, nullptr);
    replaceShared<CGradient>(gradientHighlighted, nullptr);
    replaceShared<CBitmap>(icon, nullptr);
    replaceShared<CBitmap>(iconHighlighted, nullptr);
    replaceShared<CBitmap>(disabledBackground, nullptr);
    dropOutline();
}

CMyTextButton* CMyTextButton::newCopy() const
{
    auto* copy = new CMyTextButton(size, listener, tag, title, style);
    copy->setFont(font);
    copy->setTextColor(textColor);
    copy->setTextColorHighlighted(textColorHighlighted);
    copy->setGradient(gradient);
    copy->setGradientHighlighted(gradientHighlighted);
    copy->setFrameColor(frameColor);
    copy->setFrameColorHighlighted(frameColorHighlighted);
    copy->setFrameWidth(frameWidth);
    copy->setRoundRadius(roundRadius);
    copy->setIcon(icon);
    copy->setIconHighlighted(iconHighlighted);
    copy->setDisabledBackground(disabledBackground);
    copy->setIconPosition(iconPosition);
    copy->setTextMargin(textMargin);
    copy->setTextAlignment(textAlignment);
    copy->setMin(getMin());
    copy->setMax(getMax());
    copy->setValue(getValue());
    copy->group = group;
    copy->groupValue = groupValue;
    return copy;
}

void CMyTextButton::setTitle(const std::string& text)
{
    title = text;
    invalid();
}
void CMyTextButton::setFont(CFontRef newFont)
{
    replaceShared<CFontDesc>(font, newFont);
    invalid();
}
void CMyTextButton::setTextColor(const CColor& color)
{
    textColor = color;
    invalid();
}
void CMyTextButton::setTextColorHighlighted(const CColor& color)
{
    textColorHighlighted = color;
    invalid();
}
void CMyTextButton::setGradient(CGradient* g)
{
    replaceShared<CGradient>(gradient, g);
    invalid();
}
void CMyTextButton::setGradientHighlighted(CGradient* g)
{
    replaceShared<CGradient>(gradientHighlighted, g);
    invalid();
}
void CMyTextButton::setFrameColor(const CColor& color)
{
    frameColor = color;
    invalid();
}
void CMyTextButton::setFrameColorHighlighted(const CColor& color)
{
    frameColorHighlighted = color;
    invalid();
}
void CMyTextButton::setFrameWidth(CCoord width)
{
    frameWidth = width;
    invalid();
}

void CMyTextButton::setRoundRadius(CCoord radius)
{
    roundRadius = radius;
    dropOutline();
    invalid();
}

void CMyTextButton::setStyle(Style newStyle)
{
    style = newStyle;
}

void CMyTextButton::setIcon(CBitmap* bitmap)
{
    if (bitmap == icon) return;
    replaceShared<CBitmap>(icon, bitmap);
    invalid();
}

void CMyTextButton::setIconHighlighted(CBitmap* bitmap)
{
    if (bitmap == iconHighlighted) return;
    replaceShared<CBitmap>(iconHighlighted, bitmap);
    invalid();
}

void CMyTextButton::setDisabledBackground(CBitmap* bitmap)
{
    replaceShared<CBitmap>(disabledBackground, bitmap);
}

void CMyTextButton::setIconPosition(IconPosition position)
{
    if (position == iconPosition) return;
    iconPosition = position;
    invalid();
}

void CMyTextButton::setTextMargin(CCoord margin)
{
    if (margin == textMargin) return;
    textMargin = margin;
    invalid();
}

void CMyTextButton::setTextAlignment(CHoriTxtAlign alignment)
{
    if (alignment == textAlignment) return;
    textAlignment = alignment;
    invalid();
}

void CMyTextButton::dropOutline()
{
    if (outline) outline->forget();
    outline = nullptr;
}

void CMyTextButton::setViewSize(const CRect& rect, bool inval)
{
    dropOutline();
    CControl::setViewSize(rect, inval);
}

bool CMyTextButton::removed(CView* parent)
{
    dropOutline();
    return CControl::removed(parent);
}

void CMyTextButton::draw(CDrawContext* context)
{
    const bool on = isOn();
    const CCoord lineWidth = frameWidth < 0 ? context->getHairlineSize() : frameWidth;
    context->setDrawMode(kAntiAliasing);
    context->setLineWidth(lineWidth);
    context->setLineStyle(kLineSolid);
    context->setFrameColor(on ? frameColorHighlighted : frameColor);
    const CCoord inset = lineWidth / 2;

    if (gradient && gradientHighlighted) {
        if (!outline) outline = context->createRoundRectGraphicsPath(CRect(size).inset(inset, inset), roundRadius);
        if (outline) {
            context->fillLinearGradient(outline, on ? *gradientHighlighted : *gradient,
                                        CPoint(size.left + inset, size.top + inset),
                                        CPoint(size.left + inset, size.bottom - inset));
            context->drawGraphicsPath(outline, CDrawContext::kPathStroked);
        }
    }

    CBitmap* iconToDraw = nullptr;
    if (!getMouseEnabled() && disabledBackground)
        iconToDraw = disabledBackground;
    else if (on)
        iconToDraw = iconHighlighted ? iconHighlighted : icon;
    else
        iconToDraw = icon ? icon : iconHighlighted;

    CDrawMethods::drawIconAndText(context, iconToDraw, iconPosition, textAlignment, textMargin,
                                  CRect(size).inset(inset, inset), title, font, on ? textColorHighlighted : textColor);
    setDirty(false);
}

void CMyTextButton::setAndReport(float v)
{
    setValue(v);
    valueChanged();
}

CMouseEventResult CMyTextButton::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    if (!buttons.isLeftButton()) return kMouseEventNotHandled;
    ScopedRef<CMyTextButton> keep(this);
    entryValue = getValue();
    beginEdit();
    if (isEditing()) setAndReport(entryValue == getMin() ? getMin() : getMax());
    onMouseMoved(where, buttons);
    return kMouseEventHandled;
}

CMouseEventResult CMyTextButton::onMouseMoved(CPoint& where, const CButtonState& /*buttons*/)
{
    if (!isEditing()) return kMouseEventNotHandled;
    ScopedRef<CMyTextButton> keep(this);
    const bool enteredOff = entryValue == getMin();
    const float wanted =
        insideEdgesIncluded(size, where) ? (enteredOff ? getMax() : getMin()) : (enteredOff ? getMin() : getMax());
    if (wanted != getValue()) setAndReport(wanted);
    if (isDirty()) invalid();
    return kMouseEventHandled;
}

CMouseEventResult CMyTextButton::onMouseUp(CPoint& /*where*/, const CButtonState& /*buttons*/)
{
    if (!isEditing()) return kMouseEventHandled;
    ScopedRef<CMyTextButton> keep(this);
    if (getValue() != entryValue && style == kKickStyle) {
        setAndReport(getMin());
        if (isDirty()) invalid();
    }
    endEdit();
    return kMouseEventHandled;
}

CMouseEventResult CMyTextButton::onMouseCancel()
{
    if (!isEditing()) return kMouseEventHandled;
    ScopedRef<CMyTextButton> keep(this);
    // The listener keeps the last reported value; only the button shows its old state again.
    setValue(entryValue);
    if (isDirty()) invalid();
    endEdit();
    return kMouseEventHandled;
}

int32_t CMyTextButton::onKeyDown(VstKeyCode& key)
{
    if (key.virt != VKEY_RETURN || key.modifier != 0) return -1;
    ScopedRef<CMyTextButton> keep(this);
    if (style == kKickStyle) {
        if (getValue() == getMax()) return 1;
        beginEdit();
        setValue(getMax());
        invalid();
        valueChanged();
        setValue(getMin());
        invalid();
        valueChanged();
        endEdit();
        return 1;
    }
    beginEdit();
    setValue(getValue() == getMin() ? getMax() : getMin());
    invalid();
    valueChanged();
    endEdit();
    return 1;
}

bool CMyTextButton::sizeToFit()
{
    if (title.empty() || !font) return false;
    const CCoord width = measureStringWidth(font, title);
    if (width <= 0) return false;
    CRect r = size;
    r.right = r.left + (roundRadius + 1) * 4 + width;
    setViewSize(r);
    setMouseableArea(r);
    return true;
}

bool CMyTextButton::getFocusPath(CGraphicsPath& path, CCoord focusWidth) const
{
    path.addRoundRect(CRect(size).extend(focusWidth, focusWidth), roundRadius);
    path.closeSubpath();
    path.addRoundRect(size, roundRadius);
    return true;
}

} // namespace vexbit
