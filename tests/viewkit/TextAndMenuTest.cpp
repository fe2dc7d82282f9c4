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

TEST_F(TextAndMenuTest, ReturnCommitsThroughTheParser)
{
    CTextEdit* edit = addNumberField();
    click(frame, {50, 20});
    ASSERT_TRUE(edit->isEditing());
    EXPECT_TRUE(log.entries.empty()) << "opening the field reports nothing";
    for (int i = 0; i < 4; ++i) press(frame, VKEY_BACK);
    type(frame, "25");
    EXPECT_EQ(edit->getText(), "50.0") << "typing changes only the field";
    press(frame, VKEY_RETURN);
    EXPECT_FALSE(edit->isEditing());
    EXPECT_FLOAT_EQ(edit->getValue(), 0.25f);
    EXPECT_EQ(edit->getText(), "25.0") << "shown through the formatter";
    EXPECT_EQ(log.entries, (Log{"begin 42", "host-begin 42", "changed 42", "host-end 42", "end 42"}));
    EXPECT_EQ(frame->getFocusView(), nullptr);
}

TEST_F(TextAndMenuTest, RefusedTextKeepsTheOldValue)
{
    CTextEdit* edit = addNumberField();
    click(frame, {50, 20});
    type(frame, "abc");
    press(frame, VKEY_RETURN);
    EXPECT_FLOAT_EQ(edit->getValue(), 0.5f);
    EXPECT_EQ(edit->getText(), "50.0abc") << "kept as typed";
    ASSERT_EQ(listener.values.size(), 1u);
    EXPECT_FLOAT_EQ(listener.values[0], 0.5f);
}

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

TEST_F(TextAndMenuTest, OptionMenuValueIsAnIndexWithinTheEntries)
{
    auto* menu = new COptionMenu(CRect(10, 10, 110, 31), &listener, 9);
    frame->addView(menu);
    EXPECT_EQ(menu->getCurrentIndex(), -1);
    for (const char* t : {"1/32", "-", "1/16", "1/8"}) menu->addEntry(t);
    EXPECT_TRUE(menu->getEntry(1)->isSeparator());
    EXPECT_FLOAT_EQ(menu->getMax(), 3.f);
    menu->setValue(2.4f);
    EXPECT_EQ(menu->getCurrentIndex(), 2);
    menu->setValue(7);
    EXPECT_EQ(menu->getCurrentIndex(), 2) << "out of range is ignored";
    menu->setValue(-1);
    EXPECT_EQ(menu->getCurrentIndex(), 2);
    menu->setValueNormalized(1.f);
    EXPECT_EQ(menu->getCurrentIndex(), 3);
    EXPECT_FLOAT_EQ(menu->getValueNormalized(), 1.f);
    menu->removeAllEntry();
    EXPECT_FLOAT_EQ(menu->getMax(), 0.f);
    menu->addEntry("only");
    EXPECT_FLOAT_EQ(menu->getValueNormalized(), 0.f) << "one entry: no division by zero";
    EXPECT_TRUE(listener.values.empty());
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

TEST_F(TextAndMenuTest, DismissingReportsNothingAndKeysWork)
{
    auto* menu = new COptionMenu(CRect(10, 260, 110, 281), &listener, 9);
    for (const char* t : {"A", "B", "C"}) menu->addEntry(t);
    menu->setValue(1);
    frame->addView(menu);
    click(frame, {50, 270});
    auto* overlay = dynamic_cast<MenuOverlay*>(frame->getModalView());
    ASSERT_NE(overlay, nullptr);
    EXPECT_LE(overlay->getListRect().bottom, 260) << "no room below: opens above";
    click(frame, {300, 100});
    EXPECT_FALSE(menu->isPopupOpen());
    EXPECT_TRUE(log.entries.empty());

    click(frame, {50, 270}, kRButton);
    ASSERT_TRUE(menu->isPopupOpen());
    press(frame, VKEY_DOWN);
    press(frame, VKEY_RETURN);
    EXPECT_EQ(menu->getCurrentIndex(), 2);
    click(frame, {50, 270});
    press(frame, VKEY_ESCAPE);
    EXPECT_EQ(menu->getCurrentIndex(), 2);
    EXPECT_EQ(listener.values, (std::vector<float>{2}));

    // Focused menu: Up selects the previous entry directly.
    frame->setFocusView(menu);
    press(frame, VKEY_UP);
    EXPECT_EQ(menu->getCurrentIndex(), 1);
}

TEST_F(TextAndMenuTest, ContextMenuPopsUpAtAPointOutsideTheTree)
{
    auto* menu = new COptionMenu();
    menu->setListener(&listener);
    EXPECT_FALSE(menu->popup(frame, {100, 100})) << "nothing to show";
    EXPECT_EQ(frame->getModalView(), nullptr);
    menu->addEntry("Copy");
    menu->addEntry("Paste");
    ASSERT_TRUE(menu->popup(frame, {100, 100}));
    click(frame, {110, 100 + 1 + MenuOverlay::kItemHeight + 3});
    EXPECT_EQ(menu->getLastResult(), 1);
    EXPECT_EQ(listener.values, (std::vector<float>{1}));
    EXPECT_EQ(log.entries, (Log{"begin -1", "changed -1", "end -1"})) << "not in the tree: no host edit";
    menu->forget();
}

TEST_F(TextAndMenuTest, ClickingATabButtonSelectsItsPage)
{
    auto* tabs = new CTabView(CRect(0, 0, 300, 200), CRect(0, 0, 60, 40));
    auto* first = new CViewContainer(CRect(0, 0, 10, 10));
    auto* second = new CViewContainer(CRect(0, 0, 10, 10));
    tabs->addTab(first, "One");
    tabs->addTab(second, "Two");
    frame->addView(tabs);
    EXPECT_EQ(second->getViewSize(), CRect(0, 20, 300, 200)) << "below the 20 px strip";
    EXPECT_EQ(tabs->getCurrentSelectedTab(), 0);
    click(frame, {90, 10});
    EXPECT_EQ(tabs->getCurrentSelectedTab(), 1);
    EXPECT_FALSE(first->isAttached());
    EXPECT_TRUE(second->isAttached());
    EXPECT_TRUE(log.entries.empty()) << "tab changes are not reported";
}

} // namespace
} // namespace viewkit::test
