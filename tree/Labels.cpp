#include "Labels.h"

#include <glib.h>

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
