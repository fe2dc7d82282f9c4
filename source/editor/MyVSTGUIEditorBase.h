#pragma once

#include "editor/ControlBehaviour.h"
#include "controller/EditorControls.h"
#include "editor/VSTGUIEditor.h"

#include "viewkit/Control.h"
#include "editor/layout/EditorColours.h"

#include <map>
#include <string>
#include <vector>

namespace viewkit {
class CTextLabel;
class CViewContainer;
} // namespace viewkit

namespace vexbit {

class CMouseHookView;
class MyParameter;
class MyVSTControllerBase;

// An editor whose controls are bound to the controller's parameters by tag:
// user changes become edits on the controller, and a timer mirrors the
// controller's values (host automation, the engine's own changes) back into
// the controls. The concrete editor builds the controls in createUI with the
// builders below.
class MyVSTGUIEditorBase : public VSTGUIEditor, public viewkit::IControlListener, public EditorControls {
public:
    using CControl = viewkit::CControl;
    using CViewContainer = viewkit::CViewContainer;

    MyVSTGUIEditorBase(void* controller, Steinberg::ViewRect* size = nullptr);
    ~MyVSTGUIEditorBase() override;

    bool PLUGIN_API open(void* parent, const PlatformType& type = PlatformType::kDefaultNative) override;
    void PLUGIN_API close() override;

    void updateControls(int32_t tag) override;
    virtual void updateControl(CControl* control);
    virtual void updateControlText(viewkit::CTextLabel* label);
    virtual void setParameter(int32_t tag, double value);
    virtual void onTextEdited(CControl* control, int32_t tag, double value);
    virtual void setParameterValue(int32_t tag, double value);
    virtual void setSnap(int32_t tag, bool on);
    virtual void stepParameter(int32_t tag, double delta);
    virtual void registerTextEdit(CControl* control);
    virtual void registerSnapToggle(CControl* control, int32_t tag);
    virtual void registerStepper(CControl* control, int32_t tag, double plainStep);
    virtual bool createUI() = 0;
    virtual bool onCustomControl(int32_t kind, CControl* control, int32_t& tag, double& value) = 0;
    virtual void onContextMenu(int32_t index) = 0;

    void addBehaviour(CControl* control, const ControlBehaviour& behaviour);

    viewkit::CMessageResult notify(viewkit::CBaseObject* sender, viewkit::IdStringPtr message) override;
    void valueChanged(CControl* control) override;

    // Builders: each adds its control on top of `parent`; bound controls enter controlsByTag.
    viewkit::CTextLabel* addLabel(CViewContainer* parent, int x, int y, int w, const std::string& text);
    viewkit::CTextLabel* addTitleBar(CViewContainer* parent, int x, int y, int w, int h, const std::string& text);
    CControl* addOnOffButton(CViewContainer* parent, int32_t tag, int x, int y, int w, int h, const std::string& title);
    CControl* addKickButton(CViewContainer* parent, int32_t tag, int x, int y, int h, const std::string& title);
    CControl* addKnob(CViewContainer* parent, int32_t tag, int x, int y);
    CControl* addSlider(CViewContainer* parent, int32_t tag, int x, int y, int w);
    CControl* addRockerSwitch(CViewContainer* parent, int x, int y);
    CControl* addTextEdit(CViewContainer* parent, int32_t tag, int x, int y, int w);
    // Returns the text field; the rocker lies at its right.
    CControl* addStepper(CViewContainer* parent, int32_t tag, int x, int y, int w, double plainStep);
    CControl* addOptionMenu(CViewContainer* parent, int32_t tag, int x, int y, int w);

    // Read access for whoever inspects the editor (tests, tools).
    const std::multimap<int32_t, CControl*>& getControlsByTag() const { return controlsByTag; }
    const std::multimap<CControl*, ControlBehaviour>& getBehaviours() const { return behaviours; }
    const std::map<int32_t, double>& getLastValues() const { return lastValues; }
    const std::vector<int32_t>& getSnapTags() const { return snapTags; }
    CMouseHookView* getMouseHook() const { return mouseHook; }

    // The controller's parameter of a tag as our own class, or null.
    MyParameter* findMyParameter(int32_t tag) const;
    // The controller when it is one of ours, or null.
    MyVSTControllerBase* getMyController() const;

protected:
    // Drops every pointer into the view tree; called before the frame goes.
    virtual void forgetControls();
    void bindControl(int32_t tag, CControl* control);
    double currentValue(int32_t tag) const;

    CMouseHookView* mouseHook = nullptr;
    std::multimap<CControl*, ControlBehaviour> behaviours;
    std::multimap<int32_t, CControl*> controlsByTag;
    std::map<int32_t, double> lastValues;
    std::vector<int32_t> snapTags;
    int32_t timerTicks = 0;

private:
    void rememberParameterValues();
    void registerWithController();
    void applyValueToControls(int32_t tag, double value);
    // The value a control shows for a parameter value: a two-state button shows
    // the state the parameter's own rounding gives it, as its text does.
    double shownValue(const viewkit::CControl* control, int32_t tag, double value) const;
};

// The palette as the view kit's colours.
inline viewkit::CColor toColor(const Rgba& c)
{
    return viewkit::CColor(c.r, c.g, c.b, c.a);
}

} // namespace vexbit
