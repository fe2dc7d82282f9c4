#pragma once
// Small value types shared by drawing and events.
#include <cstdint>

namespace viewkit {

enum CDrawStyle : int32_t { kDrawStroked = 0, kDrawFilled, kDrawFilledAndStroked };
enum CDrawMode : int32_t { kAliasing = 0, kAntiAliasing = 1 };
enum CHoriTxtAlign : int32_t { kLeftText = 0, kCenterText, kRightText };
enum CLineStyle : int32_t { kLineSolid = 0, kLineOnOffDash };

enum CMouseEventResult : int32_t {
    kMouseEventNotImplemented = 0,
    kMouseEventHandled,
    kMouseEventNotHandled,
    kMouseDownEventHandledButDontNeedMovedOrUpEvents,
    kMouseMoveEventHandledButDontNeedMoreEvents,
};

enum CButton : int32_t {
    kLButton = 1 << 1,
    kMButton = 1 << 2,
    kRButton = 1 << 3,
    kShift = 1 << 4,
    kControl = 1 << 5,
    kAlt = 1 << 6,
    kApple = 1 << 7,
    kButton4 = 1 << 8,
    kButton5 = 1 << 9,
    kDoubleClick = 1 << 10,
};

struct CButtonState {
    int32_t state = 0;
    constexpr CButtonState() = default;
    constexpr CButtonState(int32_t s) : state(s) {}
    constexpr operator int32_t() const { return state; }
    constexpr int32_t getButtonState() const { return state & (kLButton | kMButton | kRButton | kButton4 | kButton5); }
    constexpr int32_t getModifierState() const { return state & (kShift | kControl | kAlt | kApple); }
    constexpr bool isLeftButton() const { return getButtonState() == kLButton; }
    constexpr bool isRightButton() const { return getButtonState() == kRButton; }
};

// Styles are one set of bits shared by all controls, as in the toolkit we mirror.
enum : int32_t {
    kHorizontal = 1 << 0,
    kVertical = 1 << 1,
    kShadowText = 1 << 2,
    kLeft = 1 << 3,
    kRight = 1 << 4,
    kTop = 1 << 5,
    kBottom = 1 << 6,
    k3DIn = 1 << 7,
    k3DOut = 1 << 8,
    kPopupStyle = 1 << 9,
    kCheckStyle = 1 << 10,
    kMultipleCheckStyle = kCheckStyle + 1,
    kNoTextStyle = 1 << 11,
    kNoDrawStyle = 1 << 12,
    kDoubleClickStyle = 1 << 13,
    kNoFrame = 1 << 14,
    kRoundRectStyle = 1 << 15,
};

enum CKnobMode : int32_t { kCircularMode = 0, kRelativCircularMode, kLinearMode };

enum VirtualKey : uint8_t {
    VKEY_NONE = 0,
    VKEY_BACK,
    VKEY_TAB,
    VKEY_RETURN,
    VKEY_ESCAPE,
    VKEY_SPACE,
    VKEY_END,
    VKEY_HOME,
    VKEY_LEFT,
    VKEY_UP,
    VKEY_RIGHT,
    VKEY_DOWN,
    VKEY_DELETE,
    VKEY_ENTER,
};
enum KeyModifier : uint8_t { MODIFIER_SHIFT = 1, MODIFIER_ALTERNATE = 2, MODIFIER_COMMAND = 4, MODIFIER_CONTROL = 8 };

// A key stroke: either a character (UTF-32) or a virtual key, with modifiers.
struct VstKeyCode {
    int32_t character = 0;
    uint8_t virt = VKEY_NONE;
    uint8_t modifier = 0;
};

} // namespace viewkit
