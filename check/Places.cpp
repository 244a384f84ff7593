#include "Places.h"

#include <algorithm>

#include "Document.h"

namespace check {

using velkin::AsArray;
using velkin::AsObject;
using velkin::AsString;
using velkin::MemberNames;

namespace {

// Above this many members an object is indexed rather than searched.
constexpr size_t kIndexFrom = 16;

}  // namespace

Places::Occurrences Places::Find(const Scanned& object, const std::string& name) const
{
    const ScanTree& tree = m_definition.Tree();
    Occurrences found;
    if (object.Count() < kIndexFrom) {
        std::string decoded;
        for (const Scanned& m : tree.Of(object))
            if (tree.Name(m, decoded) == name) {
                if (found.first == nullptr)
                    found.first = &m;
                found.last = &m;
            }
        return found;
    }
    auto [it, fresh] = m_indexes.try_emplace(&object);
    const std::vector<Named>& names = it->second.names;
    if (fresh)
        Build(object, it->second);
    auto entry = std::lower_bound(names.begin(), names.end(), std::string_view(name),
                                  [](const Named& n, std::string_view s) { return n.name < s; });
    return entry == names.end() || entry->name != name ? found : entry->at;
}

// Sorted by name, source order kept among equal names, then one entry per name.
void Places::Build(const Scanned& object, Index& index) const
{
    const ScanTree& tree = m_definition.Tree();
    std::vector<Named>& names = index.names;
    names.reserve(object.Count());
    std::string decoded;
    for (const Scanned& m : tree.Of(object)) {
        std::string_view name = tree.Name(m, decoded);
        if (name.data() == decoded.data())
            name = index.decoded.emplace_back(std::move(decoded));
        names.push_back(Named{name, {&m, &m}});
    }
    std::sort(names.begin(), names.end(), [](const Named& a, const Named& b) {
        return a.name != b.name ? a.name < b.name : a.at.first < b.at.first;
    });
    size_t kept = 0;
    for (size_t i = 0; i < names.size(); ++i) {
        if (kept != 0 && names[kept - 1].name == names[i].name)
            names[kept - 1].at.last = names[i].at.last;
        else
            names[kept++] = names[i];
    }
    names.resize(kept);
    names.shrink_to_fit();
}

Located Places::Member(const Located& object, const std::string& name) const
{
    Located out;
    JsonObject* o = AsObject(object.node);
    if (o == nullptr)
        return out;
    out.node = json_object_get_member(o, name.c_str());
    if (out.node == nullptr || object.at == nullptr || object.at->Kind() != Node::Kind::Object)
        return out;
    const Occurrences found = Find(*object.at, name);
    if (found.last != nullptr) {
        out.at = found.last;
        out.key = found.first->Key();
        out.lastKey = found.last->Key();
    }
    return out;
}

Located Places::Element(const Located& array, size_t i) const
{
    Located out;
    JsonArray* a = AsArray(array.node);
    if (a == nullptr || i >= json_array_get_length(a))
        return out;
    out.node = json_array_get_element(a, static_cast<guint>(i));
    // The scanned element only when both readings agree on the length.
    if (array.at != nullptr && array.at->Kind() == Node::Kind::Array &&
        array.at->Count() == json_array_get_length(a))
        out.at = &m_definition.Tree().Of(*array.at)[i];
    return out;
}

std::vector<Located> Places::Elements(const Located& array) const
{
    std::vector<Located> out;
    JsonArray* a = AsArray(array.node);
    const size_t n = a != nullptr ? json_array_get_length(a) : 0;
    out.reserve(n);
    for (size_t i = 0; i < n; ++i)
        out.push_back(Element(array, i));
    return out;
}

std::vector<size_t> Places::QuotedStringOffsets(const Located& value) const
{
    std::vector<size_t> out;
    size_t quote = 0;
    Quoted(value, quote, out);
    return out;
}

// A string is written between two double quotes, with each double quote it
// holds escaped (one more quote character). Quote characters 0, 2, 4 ... open
// the pieces the splitter takes; each is placed at the string it stands in.
void Places::Quoted(const Located& value, size_t& quote, std::vector<size_t>& out) const
{
    auto text = [&](std::string_view s, size_t offset) {
        const size_t quotes = 2 + static_cast<size_t>(std::count(s.begin(), s.end(), '"'));
        for (size_t q = quote; q < quote + quotes; ++q)
            if (q % 2 == 0)
                out.push_back(offset);
        quote += quotes;
    };
    if (const char* s = AsString(value.node)) {
        text(s, value.Offset());
    } else if (AsArray(value.node) != nullptr) {
        for (const Located& element : Elements(value))
            Quoted(element, quote, out);
    } else if (JsonObject* o = AsObject(value.node)) {
        for (const std::string& name : MemberNames(o)) {
            const Located member = Member(value, name);
            text(name, member.key);
            Quoted(member, quote, out);
        }
    }
}

}  // namespace check
