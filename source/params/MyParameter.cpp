#include "params/MyParameter.h"

#include "params/ParamConversion.h"
#include "common/Utf.h"

#include <cstdint>
#include <cstdio>
#include <utility>

namespace vexbit {

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr std::size_t kStringUnits = 128; // String128, terminator included

int32 precisionForMax(double max)
{
    if (max >= 1000.0) return 0;
    if (max >= 100.0) return 1;
    if (max >= 10.0) return 2;
    return 3;
}

// Index of the list entry a plain value selects; -1 when it selects none.
int64_t listIndex(double plain, const std::vector<std::string>& list)
{
    if (!(plain > -1.0 && plain < static_cast<double>(list.size()))) return -1;
    return static_cast<int64_t>(plain);
}

} // namespace

ParamValue MyParameter::toPlain(ParamValue valueNormalized) const
{
    return vexbit::toPlain(valueNormalized, record_);
}

ParamValue MyParameter::toNormalized(ParamValue plainValue) const
{
    return vexbit::toNormalized(plainValue, record_);
}

void MyParameter::toString(ParamValue valueNormalized, String128 string) const
{
    if (string == nullptr) return;
    const double plain = toPlain(valueNormalized);
    switch (record_.kind) {
    case ParamKind::Linear:
    case ParamKind::Skewed:
    case ParamKind::Integer: {
        char text[kStringUnits];
        std::snprintf(text, sizeof text, "%.*lf", static_cast<int>(precision), plain);
        utf8ToUtf16(text, string, kStringUnits);
        break;
    }
    case ParamKind::List:
    case ParamKind::Text: {
        // An index outside the list leaves the caller's text as it was.
        const int64_t i = listIndex(plain, record_.list);
        if (i >= 0) utf8ToUtf16(record_.list[static_cast<std::size_t>(i)], string, kStringUnits);
        break;
    }
    }
}

bool MyParameter::fromString(const TChar* string, ParamValue& valueNormalized) const
{
    if (string == nullptr) return false;
    const std::string text = utf16ToUtf8(string, kStringUnits);
    switch (record_.kind) {
    case ParamKind::Linear:
    case ParamKind::Integer:
    case ParamKind::Skewed: {
        // Text that holds no number at all is refused rather than taken as a stale value.
        double plain = 0.0;
        if (std::sscanf(text.c_str(), "%lf", &plain) != 1) return false;
        valueNormalized = toNormalized(plain);
        return true;
    }
    case ParamKind::List:
    case ParamKind::Text:
        for (std::size_t i = 0; i < record_.list.size(); ++i) {
            if (record_.list[i] == text) {
                valueNormalized = toNormalized(static_cast<double>(i));
                return true;
            }
        }
        return false;
    }
    return false;
}

const ParamRecord& MyParameter::getRecord() const
{
    return record_;
}

const MyParameter::TChar* MyParameter::getTitle() const
{
    return info.title;
}

const MyParameter::TChar* MyParameter::getUnits() const
{
    return info.units;
}

bool MyParameter::setRecord(const ParamRecord& record)
{
    record_ = record;
    const double defaultNormalized = toNormalized(record_.defaultValue);
    valueNormalized = defaultNormalized;
    utf8ToUtf16(record_.name, info.title, kStringUnits);
    if (!record_.units.empty()) utf8ToUtf16(record_.units, info.units, kStringUnits);
    info.defaultNormalizedValue = defaultNormalized;

    switch (record_.kind) {
    case ParamKind::Integer:
        info.stepCount = static_cast<int32>(record_.max - record_.min);
        info.flags = ParameterInfo::kCanAutomate;
        precision = 0;
        break;
    case ParamKind::List:
    case ParamKind::Text:
        info.stepCount = record_.list.empty() ? 0 : static_cast<int32>(record_.list.size() - 1);
        info.flags = ParameterInfo::kCanAutomate | ParameterInfo::kIsList;
        precision = 0;
        break;
    default:
        info.stepCount = 0;
        info.flags = ParameterInfo::kCanAutomate;
        precision = precisionForMax(record_.max);
        break;
    }
    return true;
}

uint32_t MyParameter::getFlags() const
{
    return record_.flags;
}

ParamKind MyParameter::getKind() const
{
    return record_.kind;
}

double MyParameter::getMin() const
{
    return record_.min;
}

double MyParameter::getMax() const
{
    return record_.max;
}

double MyParameter::getNormalizedUnit() const
{
    const double span = record_.max - record_.min;
    return span > 0.0 ? 1.0 / span : 0.0;
}

const std::vector<std::string>& MyParameter::getList() const
{
    return record_.list;
}

const char* MyParameter::getSelectedString() const
{
    const int64_t i = listIndex(toPlain(valueNormalized), record_.list);
    return i >= 0 ? record_.list[static_cast<std::size_t>(i)].c_str() : "";
}

bool MyParameter::setText(const std::string& text)
{
    if (record_.kind != ParamKind::Text || record_.list.empty()) return false;
    record_.list[0] = text;
    return true;
}

bool MyParameter::setStringList(std::vector<std::string> list)
{
    if (record_.kind != ParamKind::List || (record_.flags & kListInState) == 0) return false;
    ParamRecord replaced = record_;
    replaced.list = std::move(list);
    normaliseRecord(replaced);
    return setRecord(replaced);
}

} // namespace vexbit
