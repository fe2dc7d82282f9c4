#pragma once
#include "viewkit/ParamDisplay.h"

namespace viewkit {

// A label the user can edit in place: focus opens the field, Return or losing
// focus commits, Escape cancels. A commit that changes the text is reported
// inside beginEdit / endEdit.
class CTextEdit : public CTextLabel {
public:
    using StringToValueFunction = std::function<bool(const char* txt, float& result, CTextEdit* textEdit)>;

    CTextEdit(const CRect& size, IControlListener* listener, int32_t tag, const char* txt = nullptr,
              CBitmap* background = nullptr, int32_t style = 0);

    void setStringToValueFunction(StringToValueFunction fn) { stringToValue = std::move(fn); }
    // Parses through the string-to-value function when one accepts the text.
    void setText(const std::string& txt) override;
    // From code: stores the value and shows it formatted; reports nothing.
    void setValue(float v) override;

    bool isEditing() const { return fieldOpen; }
    const std::string& getEditText() const { return editText; }

    void takeFocus() override;
    void looseFocus() override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    int32_t onKeyDown(VstKeyCode& key) override;
    void draw(CDrawContext* context) override;

private:
    void commit();
    void endField();

    StringToValueFunction stringToValue;
    bool fieldOpen = false;
    // The click that gave the focus also arrives as a mouse-down; it must not move the caret.
    bool openedByThisClick = false;
    std::string editText;
    size_t caret = 0;
};

} // namespace viewkit
