#include "processor/PendingChanges.h"

#include <algorithm>

namespace vexbit {

void PendingChanges::clear()
{
    hasBypass = false;
    bypass = false;
    values.clear();
    data.clear();
}

void PendingChanges::addValue(std::size_t index, double plain)
{
    std::erase_if(values, [index](const Value& v) { return v.index == index; });
    values.push_back(Value{index, plain});
}

void PendingChanges::addData(uint32_t tag, const unsigned char* bytes, std::size_t size)
{
    if (data.size() >= kMaxDataMessages) data.erase(data.begin());
    data.push_back(DataMessage{tag, std::vector<unsigned char>(bytes, bytes + size)});
}

void PendingChanges::append(const PendingChanges& later)
{
    if (later.hasBypass) {
        hasBypass = true;
        bypass = later.bypass;
    }
    for (const Value& v : later.values) addValue(v.index, v.plain);
    for (const DataMessage& d : later.data) addData(d.tag, d.bytes.data(), d.bytes.size());
}

} // namespace vexbit
