#include "viewkit/TextEdit.h"
#include "viewkit/DrawContext.h"
#include "viewkit/Frame.h"

#include "common/Utf.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace viewkit {

namespace {
bool isUtf8Continuation(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}
} // namespace

CTextEdit::CTextEdit(const CRect& r, IControlListener* l, int32_t t, const char* txt, CBitmap* bg, int32_t s)
    : CTextLabel(r, txt, bg, s)
{
    setListener(l);
    tag = t;
    setWantsFocus(true);
}

void CTextEdit::setText(const std::string& txt)
{
    if (stringToValue) {
        float parsed = getValue();
        if (stringToValue(txt.c_str(), parsed, this)) {
            CControl::setValue(parsed);
            CTextLabel::setText(valueToString ? formatValue(value) : txt);
            return;
        }
    }
    CTextLabel::setText(txt);
}

void CTextEdit::setValue(float v)
{
    CControl::setValue(v);
    CTextLabel::setText(formatValue(value));
}

void CTextEdit::takeFocus()
{
    fieldOpen = true;
    openedByThisClick = true;
    editText = text;
    caret = editText.size();
    invalid();
}

void CTextEdit::looseFocus()
{
    if (fieldOpen) commit();
}

void CTextEdit::commit()
{
    ScopedRef<CTextEdit> keep(this);
    const std::string typed = editText;
    endField();
    if (typed == text) return;
    beginEdit();
    setText(typed);
    valueChanged();
    endEdit();
}

void CTextEdit::endField()
{
    fieldOpen = false;
    invalid();
}

CMouseEventResult CTextEdit::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    if (!buttons.isLeftButton()) return kMouseEventNotHandled;
    if (fieldOpen && !std::exchange(openedByThisClick, false)) {
        // A click in the open field only moves the caret: to the end in the right half.
        caret = where.x > size.getCenter().x ? editText.size() : 0;
        invalid();
    }
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

int32_t CTextEdit::onKeyDown(VstKeyCode& key)
{
    if (!fieldOpen) return -1;
    openedByThisClick = false;
    ScopedRef<CTextEdit> keep(this);
    switch (key.virt) {
    case VKEY_RETURN:
    case VKEY_ENTER:
        if (CFrame* f = getFrame(); f && f->getFocusView() == this)
            f->setFocusView(nullptr);
        else
            commit();
        return 1;
    case VKEY_ESCAPE:
        // Cancel: put the original text back first, so that ending the edit reports nothing.
        editText = text;
        if (CFrame* f = getFrame(); f && f->getFocusView() == this)
            f->setFocusView(nullptr);
        else
            endField();
        return 1;
    case VKEY_BACK:
        if (caret > 0) {
            size_t start = caret - 1;
            while (start > 0 && isUtf8Continuation(editText[start])) --start;
            editText.erase(start, caret - start);
            caret = start;
        }
        break;
    case VKEY_DELETE:
        if (caret < editText.size()) {
            size_t end = caret + 1;
            while (end < editText.size() && isUtf8Continuation(editText[end])) ++end;
            editText.erase(caret, end - caret);
        }
        break;
    case VKEY_LEFT:
        while (caret > 0 && isUtf8Continuation(editText[--caret])) {}
        break;
    case VKEY_RIGHT:
        if (caret < editText.size()) ++caret;
        while (caret < editText.size() && isUtf8Continuation(editText[caret])) ++caret;
        break;
    case VKEY_HOME: caret = 0; break;
    case VKEY_END: caret = editText.size(); break;
    case VKEY_NONE: {
        if (key.character < 0x20 || key.character == 0x7F) return -1;
        const std::string bytes = vexbit::codePointToUtf8(key.character);
        if (bytes.empty() || editText.size() + bytes.size() > 255) return 1;
        editText.insert(caret, bytes);
        caret += bytes.size();
        break;
    }
    default: return -1;
    }
    invalid();
    return 1;
}

void CTextEdit::draw(CDrawContext* context)
{
    if (!fieldOpen) return CTextLabel::draw(context);
    drawBack(context);
    drawPlatformText(context, editText);
    // Caret: a thin line after the text up to the caret, assuming the centred layout.
    context->setFont(font);
    const CCoord fullWidth = context->getStringWidth(editText);
    const CCoord before = context->getStringWidth(std::string_view(editText).substr(0, caret));
    CCoord x = size.left + textInset.x;
    if (horiAlign == kCenterText)
        x = size.left + (size.getWidth() - fullWidth) / 2;
    else if (horiAlign == kRightText)
        x = size.right - textInset.x - fullWidth;
    x = std::clamp(std::round(x + before) + 0.5, size.left + 1.5, size.right - 1.5);
    context->setFrameColor(fontColor);
    context->setLineWidth(1);
    context->setDrawMode(kAliasing);
    context->drawLine({x, size.top + 3}, {x, size.bottom - 3});
    setDirty(false);
}

} // namespace viewkit
