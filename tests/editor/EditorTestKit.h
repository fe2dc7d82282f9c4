#pragma once
// A controller and an editor opened without a window, as the editor tests use them.
#include "editor/MyVSTGUIEditor.h"
#include "product/MyVSTController.h"

#include "viewkit/Frame.h"
#include "support/RecordingHandler.h"

#include "base/source/fobject.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <string>
#include <vector>

namespace vexbit::test {

// The product's controller with a recording host, and its editor built offscreen.
class EditorFixture {
public:
    // `controller` is taken over (its one reference); null makes a MyVSTController.
    explicit EditorFixture(MyVSTControllerBase* controller = nullptr);
    ~EditorFixture();
    EditorFixture(const EditorFixture&) = delete;
    EditorFixture& operator=(const EditorFixture&) = delete;

    // Opens the editor without a window; false when it was already open.
    bool open();
    void close();
    void tick(int count = 1);

    viewkit::CFrame* frame() const { return editor->getFrame(); }
    // The bound controls of a tag of one class, in build order.
    template <class T>
    std::vector<T*> controls(int32_t tag) const
    {
        std::vector<T*> found;
        const auto [first, last] = editor->getControlsByTag().equal_range(tag);
        for (auto it = first; it != last; ++it)
            if (auto* c = dynamic_cast<T*>(it->second)) found.push_back(c);
        return found;
    }
    template <class T>
    T* control(int32_t tag) const
    {
        const auto all = controls<T>(tag);
        return all.empty() ? nullptr : all.front();
    }
    // Every view of the tree (also of the hidden Shuffler page) whose class is T.
    template <class T>
    std::vector<T*> allViews() const;

    double value(int32_t tag) const
    {
        return controller->getParamNormalized(static_cast<Steinberg::Vst::ParamID>(tag));
    }
    void setHostValue(int32_t tag, double v)
    {
        controller->setParamNormalized(static_cast<Steinberg::Vst::ParamID>(tag), v);
    }
    double toNormalized(int32_t tag, double plain) const;
    double toPlain(int32_t tag, double normalized) const;

    // Mouse gestures in frame coordinates.
    void press(viewkit::CPoint where, int32_t buttons = viewkit::kLButton);
    void moveTo(viewkit::CPoint where, int32_t buttons = viewkit::kLButton);
    void release(viewkit::CPoint where, int32_t buttons = viewkit::kLButton);
    void click(viewkit::CPoint where, int32_t buttons = viewkit::kLButton);
    void typeText(const std::string& text);
    void pressKey(uint8_t virtualKey);

    MyVSTControllerBase* controller = nullptr;
    RecordingHandler* host = nullptr;
    MyVSTGUIEditor* editor = nullptr;
};

// The centre of a view, in frame coordinates.
viewkit::CPoint centreOf(const viewkit::CView* view);

} // namespace vexbit::test
