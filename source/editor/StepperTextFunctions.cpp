#include "editor/StepperTextFunctions.h"

#include "editor/MyVSTGUIEditorBase.h"
#include "controller/MyVSTControllerBase.h"
#include "params/MyParameter.h"
#include "common/Utf.h"

#include "viewkit/TextEdit.h"

#include <cstring>

namespace vexbit {

using namespace Steinberg;

namespace {

MyParameter* parameterOf(viewkit::CParamDisplay* field)
{
    if (field == nullptr) return nullptr;
    auto* editor = dynamic_cast<MyVSTGUIEditorBase*>(field->getListener());
    if (editor == nullptr || editor->getMyController() == nullptr) return nullptr;
    return editor->findMyParameter(field->getTag());
}

} // namespace

bool stepperStringToValue(const char* text, float& value, viewkit::CTextEdit* field)
{
    const MyParameter* parameter = parameterOf(field);
    if (parameter == nullptr || text == nullptr) return false;
    const auto wide = utf8ToUnits<Vst::TChar>(text);
    Vst::ParamValue normalized = 0.0;
    if (!parameter->fromString(wide.c_str(), normalized)) return false;
    value = static_cast<float>(normalized);
    return true;
}

bool stepperValueToString(float value, char text[256], viewkit::CParamDisplay* display)
{
    const MyParameter* parameter = parameterOf(display);
    if (parameter == nullptr || text == nullptr) return false;
    Vst::String128 string{};
    parameter->toString(value, string);
    const std::string utf8 = utf16ToUtf8(string, 128);
    const size_t length = std::min<size_t>(utf8.size(), 255);
    std::memcpy(text, utf8.data(), length);
    text[length] = '\0';
    return true;
}

} // namespace vexbit
