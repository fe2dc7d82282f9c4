#include "editor/MyVSTGUIEditor.h"

#include "resource/EmbeddedResources.h"

#include "viewkit/Bitmap.h"
#include "editor/layout/ControlLayout.h"
#include "editor/layout/EditorGeometry.h"
#include "viewkit/Frame.h"
#include "viewkit/Offscreen.h"
#include "viewkit/TabView.h"

#include "public.sdk/source/vst/vstparameters.h"

namespace vexbit {

using namespace Steinberg;
using namespace viewkit;

namespace {

ViewRect editorRect()
{
    return ViewRect(0, 0, MyVSTGUIEditor::kWidth, MyVSTGUIEditor::kHeight);
}

} // namespace

MyVSTGUIEditor::MyVSTGUIEditor(void* controller) : MyVSTGUIEditorBase(controller, nullptr)
{
    setEditorSize(editorRect());
    // Bitmaps come from the PNGs built into the module.
    setResourceLookup([](std::string_view name) { return findEmbeddedResource(name); });
}

MyVSTGUIEditor::~MyVSTGUIEditor()
{
    // Close while this class still exists: closing may commit a text being typed.
    getTimer()->stop();
    if (frame != nullptr) close();
}

void PLUGIN_API MyVSTGUIEditor::close()
{
    MyVSTGUIEditorBase::close();
    shufflerTabs = nullptr;
    shufflerPages[0] = shufflerPages[1] = nullptr;
}

bool MyVSTGUIEditor::createUI()
{
    for (const LayoutStep& step : controlLayout()) buildStep(step);
    return true;
}

CViewContainer* MyVSTGUIEditor::parentOf(const LayoutStep& step) const
{
    switch (step.parent) {
    case LayoutParent::ShufflerTabs: return shufflerTabs;
    case LayoutParent::ShufflerPage0: return shufflerPages[0];
    case LayoutParent::ShufflerPage1: return shufflerPages[1];
    default: return frame;
    }
}

void MyVSTGUIEditor::setPrecision(int32_t tag, int decimals)
{
    if (Vst::Parameter* parameter = controller->getParameterObject(static_cast<Vst::ParamID>(tag)))
        parameter->setPrecision(decimals);
}

void MyVSTGUIEditor::buildStep(const LayoutStep& s)
{
    CViewContainer* parent = parentOf(s);
    if (parent == nullptr) return;
    const std::string text(s.text);
    CControl* control = nullptr;
    switch (s.kind) {
    case LayoutKind::FrameBackground: {
        auto* bitmap = new CBitmap(CResourceDescription(text));
        frame->setBackground(bitmap);
        bitmap->forget();
        break;
    }
    case LayoutKind::TitleBar: addTitleBar(parent, s.x, s.y, s.w, s.h, text); break;
    case LayoutKind::Label: addLabel(parent, s.x, s.y, s.w, text); break;
    case LayoutKind::OnOffButton: control = addOnOffButton(parent, s.tag, s.x, s.y, s.w, s.h, text); break;
    case LayoutKind::KickButton: control = addKickButton(parent, s.tag, s.x, s.y, s.h, text); break;
    case LayoutKind::Knob: control = addKnob(parent, s.tag, s.x, s.y); break;
    case LayoutKind::Slider: control = addSlider(parent, s.tag, s.x, s.y, s.w); break;
    case LayoutKind::RockerSwitch: control = addRockerSwitch(parent, s.x, s.y); break;
    case LayoutKind::TextEdit: control = addTextEdit(parent, s.tag, s.x, s.y, s.w); break;
    case LayoutKind::Stepper: control = addStepper(parent, s.tag, s.x, s.y, s.w, s.step); break;
    case LayoutKind::OptionMenu: control = addOptionMenu(parent, s.tag, s.x, s.y, s.w); break;
    case LayoutKind::Precision: setPrecision(s.tag, s.precision); break;
    case LayoutKind::ShufflerTabs: {
        shufflerTabs =
            new CTabView(CRect(s.x, s.y, s.x + s.w, s.y + s.h), CRect(0, 0, 0, 0), nullptr, CTabView::kPositionTop, 0);
        frame->addView(shufflerTabs);
        break;
    }
    case LayoutKind::ShufflerPage: {
        const int index = s.precision == 0 ? 0 : 1;
        auto* page = new CViewContainer(CRect(s.x, s.y, s.x + s.w, s.y + s.h));
        if (!s.text.empty()) {
            auto* bitmap = new CBitmap(CResourceDescription(text));
            page->setBackground(bitmap);
            bitmap->forget();
        } else {
            page->setBackgroundColor(toColor(Clear));
        }
        shufflerTabs->addTab(page, nullptr, nullptr);
        shufflerPages[index] = page;
        break;
    }
    case LayoutKind::SelectShufflerPage:
        if (shufflerTabs != nullptr)
            shufflerTabs->selectTab(controller->getParamNormalized(static_cast<Vst::ParamID>(s.tag)) > 0.5 ? 0 : 1);
        break;
    }
    if (control == nullptr) return;
    if (s.behaviour == LayoutBehaviour::Custom)
        addBehaviour(control, {ControlBehaviour::Custom, s.tag, 0.0});
    else if (s.behaviour == LayoutBehaviour::SnapToggle)
        registerSnapToggle(control, s.behaviourTag);
}

bool MyVSTGUIEditor::onCustomControl(int32_t kind, CControl* /*control*/, int32_t& tag, double& value)
{
    if (kind != ControlBehaviour::Custom) return false;
    if (tag == kShufflerSimpleModeId) {
        if (shufflerTabs != nullptr) shufflerTabs->selectTab(value > 0.5 ? 0 : 1);
        setParameter(kShufflerSimpleModeId, value);
    } else if (tag >= kRetriggerLengthButtons && tag < kRetriggerLengthButtons + kRetriggerLengthButtonCount) {
        // 1/32, 1/16, 1/8, 1/4, 1/2: lengths of 1, 2, 4, 8, 16 thirty-seconds.
        const double length = static_cast<double>(1 << (tag - kRetriggerLengthButtons));
        setParameterValue(kRetriggerLengthId, controller->plainParamToNormalized(kRetriggerLengthId, length));
    } else if (tag >= kReverserLengthButtons && tag < kReverserLengthButtons + kReverserLengthButtonCount) {
        const double length = static_cast<double>(1 << (tag - kReverserLengthButtons));
        setParameterValue(kReverserLengthId, controller->plainParamToNormalized(kReverserLengthId, length));
    }
    return false;
}

void MyVSTGUIEditor::onContextMenu(int32_t /*index*/) {}

bool MyVSTGUIEditor::renderToPng(const std::string& path)
{
    if (frame == nullptr) return false;
    return OffscreenImage::render(frame).writePng(path);
}

} // namespace vexbit
