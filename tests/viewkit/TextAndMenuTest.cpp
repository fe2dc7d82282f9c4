// Text entry and option menus: commits, cancels, parsing, popup selection.
#include "viewkit/Recorders.h"
#include "viewkit/viewkit.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace viewkit::test {
namespace {

using Log = std::vector<std::string>;

void type(CFrame* frame, const std::string& text)
{
    for (char c : text) {
        VstKeyCode key{c, VKEY_NONE, 0};
        frame->onKeyDown(key);
    }
}

void press(CFrame* frame, uint8_t virt)
{
    VstKeyCode key{0, virt, 0};
    frame->onKeyDown(key);
}

class TextAndMenuTest : public ::testing::Test {
protected:
    void SetUp() override { frame = new CFrame(CRect(0, 0, 400, 300), &editor); }
    void TearDown() override { frame->forget(); }

    // A field that accepts numbers 0..100 and shows them with one decimal.
    CTextEdit* addNumberField()
    {
        auto* edit = new CTextEdit(CRect(10, 10, 110, 31), &listener, 42, "50.0");
        edit->setStringToValueFunction([](const char* txt, float& result, CTextEdit*) {
            char* end = nullptr;
            const float v = std::strtof(txt, &end);
            if (end == txt || *end != 0) return false;
            result = v / 100.f;
            return true;
        });
        edit->setValueToStringFunction([](float v, char out[256], CParamDisplay*) {
            std::snprintf(out, 256, "%.1f", static_cast<double>(v * 100));
            return true;
        });
        edit->setValue(0.5f);
        frame->addView(edit);
        return edit;
    }

    EventLog log;
    RecordingEditor editor{log};
    RecordingListener listener{log};
    CFrame* frame = nullptr;
};

TEST_F(TextAndMenuTest, EscapeCancelsAndAClickElsewhereCommits)
{
    CTextEdit* edit = addNumberField();
    click(frame, {50, 20});
    press(frame, VKEY_BACK);
    press(frame, VKEY_ESCAPE);
    EXPECT_FALSE(edit->isEditing());
    EXPECT_EQ(edit->getText(), "50.0");
    EXPECT_TRUE(log.entries.empty());

    click(frame, {50, 20});
    press(frame, VKEY_HOME);
    type(frame, "1");
    click(frame, {300, 200}); // empty frame area
    EXPECT_FALSE(edit->isEditing());
    EXPECT_EQ(edit->getText(), "100.0") << "committed, parsed as 150 and clamped";
    EXPECT_FLOAT_EQ(edit->getValue(), 1.f);

    log.clear();
    click(frame, {50, 20});
    click(frame, {50, 20}); // a click in the open field keeps it open
    EXPECT_TRUE(edit->isEditing());
    press(frame, VKEY_RETURN);
    EXPECT_TRUE(log.entries.empty()) << "unchanged text reports nothing";
}

TEST_F(TextAndMenuTest, FieldEditingHandlesUtf8AndCaretKeys)
{
    auto* edit = new CTextEdit(CRect(10, 10, 110, 31), &listener, 1, "ab");
    frame->addView(edit);
    click(frame, {50, 20});
    press(frame, VKEY_HOME);
    VstKeyCode euro{0x20AC, VKEY_NONE, 0};
    frame->onKeyDown(euro);
    press(frame, VKEY_END);
    press(frame, VKEY_LEFT);
    press(frame, VKEY_DELETE);
    EXPECT_EQ(edit->getEditText(), "\xE2\x82\xAC"
                                   "a");
    press(frame, VKEY_HOME);
    press(frame, VKEY_RIGHT);
    press(frame, VKEY_BACK);
    EXPECT_EQ(edit->getEditText(), "a") << "a multi-byte character goes as a whole";
    VstKeyCode control{7, VKEY_NONE, 0};
    EXPECT_EQ(frame->onKeyDown(control), -1);
    press(frame, VKEY_RETURN);
    EXPECT_EQ(edit->getText(), "a");
    EXPECT_FLOAT_EQ(edit->getValue(), 0.f) << "no parser: the value stays";
}

TEST_F(TextAndMenuTest, ClickingAnEntrySelectsItAndReports)
{
    auto* menu = new COptionMenu(CRect(10, 10, 110, 31), &listener, 9);
    for (const char* t : {"A", "B", "C"}) menu->addEntry(t);
    menu->setValue(0);
    frame->addView(menu);

    CPoint p(50, 20);
    EXPECT_EQ(frame->onMouseDown(p, kLButton), kMouseDownEventHandledButDontNeedMovedOrUpEvents);
    ASSERT_TRUE(menu->isPopupOpen());
    auto* overlay = dynamic_cast<MenuOverlay*>(frame->getModalView());
    ASSERT_NE(overlay, nullptr);
    const CRect list = overlay->getListRect();
    EXPECT_EQ(list.top, 31) << "opens below the control";
    const OffscreenImage open = OffscreenImage::render(frame);
    EXPECT_NE(open.pixel(static_cast<int>(list.left) + 3, static_cast<int>(list.top) + 3), kBlackCColor)
        << "the list is drawn over the frame";
    p = CPoint(list.left + 5, list.top + 1 + MenuOverlay::kItemHeight * 2 + 4);
    frame->onMouseUp(p, kLButton);
    frame->onMouseMoved(p, 0);
    EXPECT_EQ(overlay->getHighlighted(), 2);
    click(frame, p);
    EXPECT_FALSE(menu->isPopupOpen());
    EXPECT_EQ(frame->getModalView(), nullptr);
    EXPECT_EQ(menu->getCurrentIndex(), 2);
    EXPECT_EQ(menu->getLastResult(), 2);
    EXPECT_EQ(log.entries, (Log{"begin 9", "host-begin 9", "changed 9", "host-end 9", "end 9"}));
    EXPECT_EQ(frame->getNbViews(), 1) << "the overlay is gone";
}

} // namespace
} // namespace viewkit::test
