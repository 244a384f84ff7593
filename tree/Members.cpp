#include "Members.h"

#include <algorithm>

#include "Labels.h"
#include "RawJson.h"

namespace tree {

namespace {

// A member of a definition object, by name: its last value, as a reader keeps.
using Members = std::vector<std::pair<std::string, std::string>>;

bool LastMembers(const std::optional<std::string>& text, Members& out)
{
    std::vector<velkin::RawMember> raw;
    if (!text || !velkin::ScanObject(*text, raw))
        return false;
    for (const velkin::RawMember& m : raw) {
        auto same = std::find_if(out.begin(), out.end(),
                                 [&m](const auto& kept) { return kept.first == m.name; });
        if (same != out.end())
            out.erase(same);
        out.emplace_back(std::string(m.name), std::string(m.value));
    }
    return true;
}

std::string Changed(std::string_view name, std::string_view before, std::string_view after)
{
    return Printable(name) + ": " + Printable(before) + " \u2192 " + Printable(after);
}

std::string Added(std::string_view name, std::string_view value)
{
    return "+ " + Printable(name) + ": " + Printable(value);
}

}  // namespace

std::vector<std::string> MemberChanges(const std::optional<std::string>& before,
                                       const std::optional<std::string>& after)
{
    Members old, now;
    std::vector<std::string> lines;
    if (!LastMembers(before, old) || !LastMembers(after, now))
        return lines;
    auto find = [](const Members& in, const std::string& name) {
        return std::find_if(in.begin(), in.end(),
                            [&name](const auto& m) { return m.first == name; });
    };
    for (const auto& [name, value] : now) {
        auto was = find(old, name);
        if (was == old.end())
            lines.push_back(Added(name, value));
        else if (was->second != value)
            lines.push_back(Changed(name, was->second, value));
    }
    for (const auto& [name, value] : old)
        if (find(now, name) == now.end())
            lines.push_back("- " + Printable(name) + ": " + Printable(value));
    return lines;
}

Amendments AppliedAmendments(const velkin::EffectiveMenu& model)
{
    Amendments applied;
    for (const velkin::Amendment& a : model.amendments)
        if (a.fate == velkin::AmendmentFate::Applied)
            applied.emplace(a.item, &a);
    return applied;
}

// The amendment's members follow the definition's own, and the modify
// marker ends the text: a member's last value before the marker is the
// amendment's, the one before that (if any) the definition's own.
std::vector<std::string> AmendedMembers(std::string_view definition,
                                        const velkin::Amendment& amendment)
{
    std::vector<velkin::RawMember> raw;
    std::vector<std::string> lines;
    if (!velkin::ScanObject(definition, raw) || raw.empty())
        return lines;
    raw.pop_back();  // the modify marker
    for (const std::string& name : amendment.members) {
        const velkin::RawMember* now = nullptr;
        const velkin::RawMember* was = nullptr;
        for (const velkin::RawMember& m : raw)
            if (m.name == name) {
                was = now;
                now = &m;
            }
        if (now == nullptr)
            continue;
        lines.push_back(was != nullptr ? Changed(name, was->value, now->value)
                                       : Added(name, now->value));
    }
    return lines;
}

}  // namespace tree
