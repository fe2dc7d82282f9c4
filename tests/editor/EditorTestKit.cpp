#include "editor/EditorTestKit.h"

#include "product/ModuleConfig.h"

#include "viewkit/ViewContainer.h"
#include "viewkit/TabView.h"
#include "viewkit/TextEdit.h"
#include "viewkit/Timer.h"

namespace vexbit::test {

using namespace Steinberg;

EditorFixture::EditorFixture(MyVSTControllerBase* c)
{
    configureModule();
    controller = c != nullptr ? c : new MyVSTController();
    controller->initialize(nullptr);
    host = new RecordingHandler();
    controller->setComponentHandler(host);
    editor = new MyVSTGUIEditor(controller);
    controller->setEditor(editor);
}

EditorFixture::~EditorFixture()
{
    editor->release();
    controller->setComponentHandler(nullptr);
    controller->terminate();
    controller->release();
    host->release();
}

bool EditorFixture::open()
{
    return editor->open(nullptr);
}
void EditorFixture::close()
{
    editor->close();
}

void EditorFixture::tick(int count)
{
    for (int i = 0; i < count; ++i) editor->notify(editor->getTimer(), viewkit::CVSTGUITimer::kMsgTimer);
}

double EditorFixture::toNormalized(int32_t tag, double plain) const
{
    return controller->plainParamToNormalized(static_cast<Vst::ParamID>(tag), plain);
}

double EditorFixture::toPlain(int32_t tag, double normalized) const
{
    return controller->normalizedParamToPlain(static_cast<Vst::ParamID>(tag), normalized);
}

namespace {
template <class T>
void collect(viewkit::CView* view, std::vector<T*>& out)
{
    if (auto* v = dynamic_cast<T*>(view)) out.push_back(v);
    if (auto* tabs = dynamic_cast<viewkit::CTabView*>(view)) {
        for (int32_t i = 0; i < tabs->getNbTabs(); ++i) collect(tabs->getTabView(i), out);
        return;
    }
    if (auto* container = dynamic_cast<viewkit::CViewContainer*>(view))
        for (int32_t i = 0; i < container->getNbViews(); ++i) collect(container->getView(i), out);
}
} // namespace

template <class T>
std::vector<T*> EditorFixture::allViews() const
{
    std::vector<T*> out;
    if (frame() != nullptr)
        for (int32_t i = 0; i < frame()->getNbViews(); ++i) collect(frame()->getView(i), out);
    return out;
}

template std::vector<viewkit::CTextLabel*> EditorFixture::allViews<viewkit::CTextLabel>() const;
template std::vector<viewkit::CControl*> EditorFixture::allViews<viewkit::CControl>() const;
template std::vector<viewkit::CView*> EditorFixture::allViews<viewkit::CView>() const;

void EditorFixture::press(viewkit::CPoint where, int32_t buttons)
{
    frame()->onMouseDown(where, viewkit::CButtonState(buttons));
}

void EditorFixture::moveTo(viewkit::CPoint where, int32_t buttons)
{
    frame()->onMouseMoved(where, viewkit::CButtonState(buttons));
}

void EditorFixture::release(viewkit::CPoint where, int32_t buttons)
{
    frame()->onMouseUp(where, viewkit::CButtonState(buttons));
}

void EditorFixture::click(viewkit::CPoint where, int32_t buttons)
{
    press(where, buttons);
    release(where, buttons);
}

void EditorFixture::typeText(const std::string& text)
{
    for (char c : text) {
        viewkit::VstKeyCode key;
        key.character = static_cast<unsigned char>(c);
        frame()->onKeyDown(key);
    }
}

void EditorFixture::pressKey(uint8_t virtualKey)
{
    viewkit::VstKeyCode key;
    key.virt = virtualKey;
    frame()->onKeyDown(key);
}

viewkit::CPoint centreOf(const viewkit::CView* view)
{
    return view->getFrameRect().getCenter();
}

} // namespace vexbit::test
