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

Places::Occurrences Places::Find(const Node& object, const std::string& name) const
{
    Occurrences found;
    if (object.members.size() < kIndexFrom) {
        for (const check::Member& m : object.members)
            if (m.name == name) {
                if (found.first == nullptr)
                    found.first = &m;
                found.last = &m;
            }
        return found;
    }
    auto [it, fresh] = m_indexes.try_emplace(&object);
    Index& index = it->second;
    if (fresh)
        for (const check::Member& m : object.members) {
            Occurrences& o = index[m.name];
            if (o.first == nullptr)
                o.first = &m;
            o.last = &m;
        }
    auto entry = index.find(name);
    return entry == index.end() ? found : entry->second;
}

Located Places::Member(const Located& object, const std::string& name) const
{
    Located out;
    JsonObject* o = AsObject(object.node);
    if (o == nullptr)
        return out;
    out.node = json_object_get_member(o, name.c_str());
    if (out.node == nullptr || object.at == nullptr || object.at->kind != Node::Kind::Object)
        return out;
    const Occurrences found = Find(*object.at, name);
    if (found.last != nullptr) {
        out.at = &found.last->value;
        out.key = found.first->offset;
        out.lastKey = found.last->offset;
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
    if (array.at != nullptr && array.at->kind == Node::Kind::Array &&
        array.at->elements.size() == json_array_get_length(a))
        out.at = &array.at->elements[i];
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
