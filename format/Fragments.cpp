#include "Fragments.h"

#include <Eina.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "Facts.h"

namespace velkin {

std::string MemberStart(std::string_view id)
{
    std::string out = "\"";
    out += id;
    out += "\":";
    return out;
}

std::string HelperEntry(std::string_view item, std::string_view menu)
{
    std::string out = MemberStart(item);
    out += '"';
    out += menu;
    out += '"';
    return out;
}

std::string ParentLink(std::string_view parent, bool afterMember)
{
    std::string out = afterMember ? "," : "";
    out += MemberStart(kParentItem);
    out += '"';
    out += parent;
    out += '"';
    return out;
}

std::string_view UnwrapMatch(const char* text)
{
    const size_t n = text != nullptr ? std::strlen(text) : 0;
    if (n <= 2)
        return std::string_view();
    return std::string_view(text + 1, n - 2);
}

std::string_view OpenNode(std::string_view node)
{
    if (node.empty() || node[0] != '{')
        return "{";
    return node.substr(0, node.size() - 1);
}

std::vector<std::string> QuotedStrings(const char* text)
{
    std::vector<std::string> strings;
    unsigned int count = 0;
    char** pieces = eina_str_split_full(text, "\"", 0, &count);
    if (pieces == nullptr)
        return strings;
    // Pieces 2, 4, 6 ... (from one) are the contents of the quoted strings.
    for (unsigned int i = 1; i < count; i += 2)
        strings.emplace_back(pieces[i]);
    free(pieces[0]);
    free(pieces);
    return strings;
}

AmendmentStatus ReadAmendment(const char* match, std::string& members)
{
    const size_t n = std::strlen(match);
    if (n <= 4)
        return AmendmentStatus::TooShort;
    // Only an object's members can be spliced into a definition; a string,
    // number or array amendment would make the written entry invalid.
    if (match[1] != '{')
        return AmendmentStatus::NotObject;
    members.assign(match + 2, n - 4);
    return AmendmentStatus::Found;
}

std::string AmendDefinition(std::string_view open, std::string_view members)
{
    std::string out(open);
    if (open != "{")
        out += ',';
    out += members;
    out += kModifyMarker;
    out += '}';
    return out;
}

std::vector<Merged> MergeAdded(const std::list<std::string>& added,
                               const std::list<std::string>& items)
{
    std::vector<Merged> merged;
    auto cursor = items.begin();
    for (const std::string& x : added) {
        bool matched = false;
        if (cursor != items.end()) {
            auto found = std::find(cursor, items.end(), x);
            if (found != items.end()) {
                for (; cursor != found; ++cursor)
                    merged.push_back(Merged{*cursor, false});
                cursor = std::next(found);
                matched = true;
            }
        }
        merged.push_back(Merged{x, !matched});
    }
    for (; cursor != items.end(); ++cursor)
        merged.push_back(Merged{*cursor, false});
    return merged;
}

bool IsIndentLevel(std::string_view value)
{
    return std::find(std::begin(kIndentLevels), std::end(kIndentLevels), value) !=
           std::end(kIndentLevels);
}

std::string SubmenuItemsFragment(const std::list<std::string>& items)
{
    if (items.empty())
        return std::string();
    std::string out = MemberStart(kSubmenuItems) + "[";
    for (auto it = items.begin(); it != items.end(); ++it) {
        if (it != items.begin())
            out += ',';
        out += '"';
        out += *it;
        out += '"';
    }
    return out + ']';
}

std::string GroupFragment(const std::list<std::string>& groupList)
{
    if (groupList.empty())
        return std::string();
    const std::string levelOpening = "{" + MemberStart(kIndentLevel) + "\"";
    const std::string itemsOpening = "\"," + MemberStart(kGroupItems) + "[";
    std::string out = MemberStart(kGroup) + "[";
    for (auto it = groupList.begin(); it != groupList.end(); ++it) {
        auto after = std::next(it);
        const bool last = after == groupList.end();
        if (IsIndentLevel(*it)) {
            out += levelOpening;
            out += *it;
            out += itemsOpening;
        } else {
            // Items before the first level element form a group without a level.
            if (it == groupList.begin())
                out += levelOpening + itemsOpening;
            out += '"';
            out += *it;
            out += '"';
        }
        if (last)
            out += "]}";
        else if (IsIndentLevel(*after))
            out += "]},";
        else if (!IsIndentLevel(*it))
            out += ',';
    }
    return out + ']';
}

}  // namespace velkin
