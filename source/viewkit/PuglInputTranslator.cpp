#include "viewkit/PuglInputTranslator.h"

#include <cmath>

namespace viewkit {

namespace {

constexpr double kDoubleClickSeconds = 0.25;
constexpr double kDoubleClickDistance = 5;

int32_t mouseModifiers(PuglMods mods)
{
    int32_t m = 0;
    if (mods & PUGL_MOD_SHIFT) m |= kShift;
    if (mods & PUGL_MOD_CTRL) m |= kControl;
    if (mods & PUGL_MOD_ALT) m |= kAlt;
    return m;
}

int32_t buttonBit(uint32_t button)
{
    switch (button) {
    case 0: return kLButton;
    case 1: return kRButton;
    case 2: return kMButton;
    case 3: return kButton4;
    case 4: return kButton5;
    default: return 0;
    }
}

uint8_t keyModifiers(PuglMods mods)
{
    uint8_t m = 0;
    if (mods & PUGL_MOD_SHIFT) m |= MODIFIER_SHIFT;
    if (mods & PUGL_MOD_ALT) m |= MODIFIER_ALTERNATE;
    if (mods & PUGL_MOD_CTRL) m |= MODIFIER_CONTROL;
    return m;
}

VstKeyCode translateKey(const PuglKeyEvent& e)
{
    VstKeyCode key;
    key.modifier = keyModifiers(e.state);
    switch (e.key) {
    case '\r':
    case '\n': key.virt = VKEY_RETURN; break;
    case PUGL_KEY_ESCAPE: key.virt = VKEY_ESCAPE; break;
    case PUGL_KEY_BACKSPACE: key.virt = VKEY_BACK; break;
    case PUGL_KEY_DELETE: key.virt = VKEY_DELETE; break;
    case '\t': key.virt = VKEY_TAB; break;
    case PUGL_KEY_LEFT: key.virt = VKEY_LEFT; break;
    case PUGL_KEY_RIGHT: key.virt = VKEY_RIGHT; break;
    case PUGL_KEY_UP: key.virt = VKEY_UP; break;
    case PUGL_KEY_DOWN: key.virt = VKEY_DOWN; break;
    case PUGL_KEY_HOME: key.virt = VKEY_HOME; break;
    case PUGL_KEY_END: key.virt = VKEY_END; break;
    default: break;
    }
    return key;
}

} // namespace

void PuglInputTranslator::dispatch(CFrame& frame, const PuglEvent& event, double scale)
{
    switch (event.type) {
    case PUGL_BUTTON_PRESS: {
        const auto& e = event.button;
        const int32_t bit = buttonBit(e.button);
        heldButtons |= bit;
        int32_t state = heldButtons | mouseModifiers(e.state);
        if (bit == lastPressButton && e.time - lastPressTime < kDoubleClickSeconds &&
            std::fabs(e.x - lastPressPoint.x) <= kDoubleClickDistance &&
            std::fabs(e.y - lastPressPoint.y) <= kDoubleClickDistance)
            state |= kDoubleClick;
        lastPressButton = bit;
        lastPressTime = e.time;
        lastPressPoint = CPoint(e.x, e.y);
        CPoint p(e.x / scale, e.y / scale);
        frame.onMouseDown(p, CButtonState(state));
        return;
    }
    case PUGL_BUTTON_RELEASE: {
        const auto& e = event.button;
        const int32_t state = heldButtons | mouseModifiers(e.state);
        heldButtons &= ~buttonBit(e.button);
        CPoint p(e.x / scale, e.y / scale);
        frame.onMouseUp(p, CButtonState(state));
        return;
    }
    case PUGL_MOTION: {
        CPoint p(event.motion.x / scale, event.motion.y / scale);
        frame.onMouseMoved(p, CButtonState(heldButtons | mouseModifiers(event.motion.state)));
        return;
    }
    case PUGL_SCROLL: {
        const auto& e = event.scroll;
        if (e.direction == PUGL_SCROLL_UP || e.direction == PUGL_SCROLL_DOWN) {
            frame.onWheel(CPoint(e.x / scale, e.y / scale), e.direction == PUGL_SCROLL_UP ? 1.f : -1.f,
                          CButtonState(heldButtons | mouseModifiers(e.state)));
        }
        return;
    }
    case PUGL_KEY_PRESS:
    case PUGL_KEY_RELEASE: {
        VstKeyCode key = translateKey(event.key);
        if (key.virt == VKEY_NONE) return; // characters arrive as PUGL_TEXT
        if (event.type == PUGL_KEY_PRESS)
            frame.onKeyDown(key);
        else
            frame.onKeyUp(key);
        return;
    }
    case PUGL_TEXT: {
        const auto& e = event.text;
        if (e.character < 0x20 || e.character == 0x7F) return;
        VstKeyCode key;
        key.character = static_cast<int32_t>(e.character);
        key.modifier = keyModifiers(e.state);
        frame.onKeyDown(key);
        return;
    }
    default: return;
    }
}

} // namespace viewkit
