#include "host/PresetMetaInfo.h"

#include <utility>

namespace vexbit::host {

namespace {

std::string escapeXml(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string unescapeXml(std::string_view text)
{
    static const std::pair<std::string_view, char> kEntities[] = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        bool replaced = false;
        if (text[i] == '&') {
            for (const auto& [entity, c] : kEntities) {
                if (text.substr(i, entity.size()) == entity) {
                    out += c;
                    i += entity.size();
                    replaced = true;
                    break;
                }
            }
        }
        if (!replaced) out += text[i++];
    }
    return out;
}

// The value of `name="..."` inside one element's text, if present.
bool attributeOf(std::string_view element, std::string_view name, std::string& value)
{
    std::string key(" ");
    key += name;
    key += "=\"";
    const std::size_t at = element.find(key);
    if (at == std::string_view::npos) return false;
    const std::size_t start = at + key.size();
    const std::size_t end = element.find('"', start);
    if (end == std::string_view::npos) return false;
    value = unescapeXml(element.substr(start, end - start));
    return true;
}

void appendAttribute(std::string& xml, const char* id, const std::string& value, bool writeProtected)
{
    if (value.empty()) return;
    xml += "\t<Attr id=\"";
    xml += id;
    xml += "\" value=\"";
    xml += escapeXml(value);
    xml += "\" type=\"string\"";
    if (writeProtected) xml += " flags=\"writeProtected\"";
    xml += "/>\n";
}

} // namespace

std::string presetMetaInfoXml(const PresetMetaInfo& info)
{
    std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<MetaInfo>\n";
    appendAttribute(xml, "MediaType", "VstPreset", true);
    appendAttribute(xml, "PlugInName", info.pluginName, true);
    appendAttribute(xml, "PlugInCategory", info.pluginCategory, true);
    appendAttribute(xml, "Name", info.name, false);
    appendAttribute(xml, "MusicalCategory", info.category, false);
    xml += "</MetaInfo>\n";
    return xml;
}

PresetMetaInfo parsePresetMetaInfo(std::string_view xml)
{
    PresetMetaInfo info;
    for (std::size_t at = xml.find("<Attr "); at != std::string_view::npos; at = xml.find("<Attr ", at + 1)) {
        const std::size_t end = xml.find('>', at);
        if (end == std::string_view::npos) break;
        const std::string_view element = xml.substr(at, end - at);
        std::string id, value;
        if (!attributeOf(element, "id", id) || !attributeOf(element, "value", value)) continue;
        if (id == "Name")
            info.name = value;
        else if (id == "MusicalCategory")
            info.category = value;
        else if (id == "PlugInName")
            info.pluginName = value;
        else if (id == "PlugInCategory")
            info.pluginCategory = value;
    }
    return info;
}

} // namespace vexbit::host
