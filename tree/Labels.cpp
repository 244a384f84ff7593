#include "Labels.h"

#include <glib.h>

#include <unordered_map>
#include <vector>

#include "Identifiers.h"
#include "RawJson.h"

namespace tree {

Marks MarksOf(const velkin::Menu& menu, const velkin::Entry& entry)
{
    Marks marks;
    marks.added = entry.origin == velkin::Origin::Added;
    if (const velkin::ItemEntry* item = menu.DefinitionOf(entry)) {
        marks.amended = item->amended;
        marks.placeholder = item->placeholder;
    }
    return marks;
}

std::vector<int> GroupOfEntries(const velkin::Menu& menu)
{
    std::unordered_map<std::string_view, int> first;
    for (size_t g = 0; g < menu.groups.size(); ++g)
        for (const std::string& id : menu.groups[g].items)
            first.emplace(id, static_cast<int>(g));
    std::vector<int> groups;
    for (const velkin::Entry& entry : menu.entries) {
        auto it = first.find(entry.id);
        groups.push_back(it == first.end() ? kNoGroup : it->second);
    }
    return groups;
}

std::string GroupHeading(const velkin::Menu& menu, int group)
{
    const std::optional<std::string>& level = menu.groups[static_cast<size_t>(group)].level;
    return "group " + std::to_string(group + 1) + ", " +
           (level ? "indent level " + Printable(*level) : std::string("no indent level"));
}

std::string MarkText(const Marks& marks)
{
    std::string text;
    if (marks.added)
        text += kAddedMark;
    if (marks.amended)
        text += kAmendedMark;
    if (marks.placeholder)
        text += kPlaceholderMark;
    return text;
}

std::optional<std::string> DisplayName(std::string_view definition)
{
    std::vector<velkin::RawMember> members;
    if (!velkin::ScanObject(definition, members))
        return std::nullopt;
    std::optional<std::string> name;
    std::string value;
    for (const velkin::RawMember& m : members)
        if (m.name == kDisplayName && velkin::StringValue(m.value, value))
            name = value;
    return name;
}

std::string ValidUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    const char* p = text.data();
    const char* end = p + text.size();
    while (p < end) {
        const char* bad = nullptr;
        if (g_utf8_validate(p, end - p, &bad)) {
            out.append(p, end);
            break;
        }
        out.append(p, bad);
        out += "\xEF\xBF\xBD";  // U+FFFD
        p = bad + 1;
    }
    return out;
}

std::string Printable(std::string_view text)
{
    return ValidUtf8(velkin::OneLine(text));
}

}  // namespace tree
