#pragma once

#include "editor/MyVSTGUIEditorBase.h"

#include <string>

namespace viewkit {
class CTabView;
}

namespace vexbit {

struct LayoutStep;

// The plug-in's window: 1211 x 665 pixels, the AutoPlay settings above, one
// panel per effect below, and the Shuffler's two pages switched by "SimpleMode".
class MyVSTGUIEditor : public MyVSTGUIEditorBase {
public:
    static constexpr Steinberg::int32 kWidth = 1211;
    static constexpr Steinberg::int32 kHeight = 665;

    explicit MyVSTGUIEditor(void* controller);
    ~MyVSTGUIEditor() override;

    bool createUI() override;
    bool onCustomControl(int32_t kind, CControl* control, int32_t& tag, double& value) override;
    void onContextMenu(int32_t index) override;
    void PLUGIN_API close() override;

    viewkit::CTabView* getShufflerTabs() const { return shufflerTabs; }
    // Paints the open editor into a PNG file, without a display.
    bool renderToPng(const std::string& path);

private:
    void buildStep(const LayoutStep& step);
    CViewContainer* parentOf(const LayoutStep& step) const;
    void setPrecision(int32_t tag, int decimals);

    viewkit::CTabView* shufflerTabs = nullptr;
    CViewContainer* shufflerPages[2] = {nullptr, nullptr};
};

} // namespace vexbit
