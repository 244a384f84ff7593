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
    const std::vector<Named>& names = IndexOf(object);
    const ScanTree::Children members = tree.Of(object);
    std::string decoded;
    auto entry = std::lower_bound(names.begin(), names.end(), std::string_view(name),
                                  [&](const Named& n, std::string_view s) {
                                      return NameOf(members, n, decoded) < s;
                                  });
    if (entry == names.end() || NameOf(members, *entry, decoded) != name)
        return found;
    return Occurrences{&members[entry->first], &members[entry->last]};
}

// A map's elements keep their place when others are added: the index is used
// after the lock is released.
const std::vector<Places::Named>& Places::IndexOf(const Scanned& object) const
{
    const std::lock_guard<std::mutex> lock(m_indexing);
    auto [it, fresh] = m_indexes.try_emplace(&object);
    if (fresh)
        Build(object, it->second);
    return it->second.names;
}

std::string_view Places::NameOf(const ScanTree::Children& members, const Named& named,
                                std::string& decoded) const
{
    const Scanned& member = members[named.first];
    if (named.name == kEscaped)
        return m_definition.Tree().Name(member, decoded);
    return m_definition.Tree().Source().substr(member.key + 1, named.name);
}

// Sorted by name, source order kept among equal names, then one entry per name.
void Places::Build(const Scanned& object, Index& index) const
{
    const ScanTree::Children members = m_definition.Tree().Of(object);
    std::vector<Named>& names = index.names;
    names.reserve(members.size());
    std::string decoded;
    for (uint32_t i = 0; i < members.size(); ++i) {
        const std::string_view name = m_definition.Tree().Name(members[i], decoded);
        names.push_back(Named{i, i,
                              name.data() == decoded.data() ? kEscaped
                                                            : static_cast<uint32_t>(name.size())});
    }
    std::string a, b;
    std::sort(names.begin(), names.end(), [&](const Named& x, const Named& y) {
        const std::string_view nx = NameOf(members, x, a), ny = NameOf(members, y, b);
        return nx != ny ? nx < ny : x.first < y.first;
    });
    size_t kept = 0;
    for (size_t i = 0; i < names.size(); ++i) {
        if (kept != 0 && NameOf(members, names[kept - 1], a) == NameOf(members, names[i], b))
            names[kept - 1].last = names[i].last;
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
