#include "host/ParameterSetting.h"

#include "common/Utf.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <vector>

namespace vexbit::host {

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

bool parseNumber(const std::string& text, double& value)
{
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (first != last && *first == '+') ++first;
    const auto [end, ec] = std::from_chars(first, last, value);
    return ec == std::errc() && end == last && std::isfinite(value);
}

std::string trimmedLower(const std::string& text)
{
    const auto begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos) return {};
    const auto end = text.find_last_not_of(" \t");
    std::string result = text.substr(begin, end - begin + 1);
    std::transform(result.begin(), result.end(), result.begin(), [](unsigned char c) { return std::tolower(c); });
    return result;
}

std::string formatNumber(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

std::optional<ParameterDescription> findByName(const std::vector<ParameterDescription>& parameters,
                                               const std::string& name, std::string& error)
{
    double number = 0;
    if (parseNumber(name, number) && number >= 0 && number <= 4294967295.0 && number == std::floor(number)) {
        for (const ParameterDescription& p : parameters)
            if (p.id == static_cast<ParamID>(number)) return p;
    }
    for (const bool loose : {false, true}) {
        std::vector<const ParameterDescription*> matches;
        for (const ParameterDescription& p : parameters) {
            if (loose ? trimmedLower(p.title) == trimmedLower(name) : p.title == name) matches.push_back(&p);
        }
        if (matches.size() == 1) return *matches.front();
        if (matches.size() > 1) {
            std::string ids;
            for (const ParameterDescription* p : matches) ids += (ids.empty() ? "" : " or ") + std::to_string(p->id);
            error = "parameter \"" + name + "\" is ambiguous: several parameters have this title; give its ID (" + ids +
                    ")";
            return std::nullopt;
        }
    }
    error = "unknown parameter \"" + name + "\" (see \"vexbit info\" for the titles and IDs)";
    return std::nullopt;
}

// The display texts of a stepped parameter, for the error message.
std::string listOfTexts(const PluginInstance& instance, const ParameterDescription& p)
{
    if (p.stepCount <= 0 || p.stepCount > 32) return {};
    std::string texts;
    for (int32 step = 0; step <= p.stepCount; ++step) {
        const std::string t = instance.parameterText(p.id, static_cast<double>(step) / p.stepCount);
        if (!t.empty()) texts += (texts.empty() ? "\"" : ", \"") + t + "\"";
    }
    return texts;
}

} // namespace

std::optional<ParameterSetting> resolveParameterSetting(const PluginInstance& instance, const std::string& text,
                                                        std::string& error)
{
    const auto equals = text.rfind('=');
    if (equals == std::string::npos || equals == 0) {
        error = "setting \"" + text + "\": expected NAME=VALUE";
        return std::nullopt;
    }
    const std::string name = text.substr(0, equals);
    const std::string valueText = text.substr(equals + 1);
    IEditController* controller = instance.controller();
    if (controller == nullptr) {
        error = "the plug-in has no edit controller, so it has no parameters to set";
        return std::nullopt;
    }

    const auto parameter = findByName(instance.parameters(), name, error);
    if (!parameter) return std::nullopt;
    const std::string what = "parameter " + std::to_string(parameter->id) + " \"" + parameter->title + "\"";
    if ((parameter->flags & ParameterInfo::kIsReadOnly) != 0) {
        error = what + " is read-only";
        return std::nullopt;
    }

    ParameterSetting setting;
    setting.id = parameter->id;
    setting.title = parameter->title;
    double plain = 0;
    if (parseNumber(valueText, plain)) {
        // The plain range as the controller maps it; some controllers clamp
        // silently, so the range is checked here rather than trusted.
        const double low = controller->normalizedParamToPlain(parameter->id, 0.0);
        const double high = controller->normalizedParamToPlain(parameter->id, 1.0);
        const double lo = std::min(low, high), hi = std::max(low, high);
        const double slack = (hi - lo) * 1e-9;
        if (!(plain >= lo - slack && plain <= hi + slack)) {
            error = "value " + valueText + " is out of range for " + what + " (" + formatNumber(lo) + " to " +
                    formatNumber(hi) + ")";
            return std::nullopt;
        }
        setting.normalized = controller->plainParamToNormalized(parameter->id, std::clamp(plain, lo, hi));
    } else {
        const std::u16string text16 = utf8ToUtf16(valueText);
        std::vector<TChar> buffer(text16.begin(), text16.end());
        buffer.push_back(0);
        ParamValue normalized = 0;
        if (controller->getParamValueByString(parameter->id, buffer.data(), normalized) != kResultOk) {
            const std::string texts = listOfTexts(instance, *parameter);
            error = "value \"" + valueText + "\" is not valid for " + what +
                    (texts.empty() ? "" : " (one of " + texts + ", or a number)");
            return std::nullopt;
        }
        setting.normalized = normalized;
    }
    if (!std::isfinite(setting.normalized) || setting.normalized < 0.0 || setting.normalized > 1.0) {
        error = "value \"" + valueText + "\" is out of range for " + what;
        return std::nullopt;
    }
    return setting;
}

} // namespace vexbit::host
