// The position layer: json-glib's values joined with the places the scanner
// found them at, so that a rule reading the document (or the effective menu
// computed from it) can say where a member, an element or a quoted string is.
// Where the scanner could not follow the text, places are unknown (kNoOffset)
// rather than wrong.
#pragma once

#include <json-glib/json-glib.h>

#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "Definition.h"

namespace check {

// A json-glib value and the scanned value it was read from (null: unknown).
struct Located {
    JsonNode* node = nullptr;
    const Scanned* at = nullptr;
    // The name of the member holding the value: where the name first stands
    // (json-glib's member order) and where it last stands (the value kept).
    size_t key = kNoOffset;
    size_t lastKey = kNoOffset;

    size_t Offset() const { return at != nullptr ? at->offset : kNoOffset; }
    bool Present() const { return node != nullptr; }
};

// Calls `visit` with each member name of `object` (none when null) in
// json-glib's member order, without copying the names.
template <typename Visit>
void ForEachMemberName(JsonObject* object, Visit visit)
{
    if (object == nullptr)
        return;
    JsonObjectIter iter;
    json_object_iter_init_ordered(&iter, object);
    const char* name = nullptr;
    while (json_object_iter_next_ordered(&iter, &name, nullptr))
        visit(name);
}

class Places {
public:
    Places(JsonNode* root, const Definition& definition)
        : m_root{root, definition.Tree().Root()}, m_definition(definition)
    {
    }
    Places(const Places&) = delete;
    Places& operator=(const Places&) = delete;

    const Located& Root() const { return m_root; }
    // Line and column of an offset, for messages that name another place.
    Position At(size_t offset) const { return m_definition.At(offset); }
    // Member `name` of an object; nothing when absent or not an object.
    Located Member(const Located& object, const std::string& name) const;
    // Element `i` of an array; nothing when out of range or not an array.
    Located Element(const Located& array, size_t i) const;
    // The elements of an array, in order; none when it is not an array.
    std::vector<Located> Elements(const Located& array) const;
    // Where the quoted strings begin that the splitter reads by splitting the
    // serialised text of `value` at every double quote: one offset per piece
    // (QuotedStrings), taken from the string or member name it starts in.
    std::vector<size_t> QuotedStringOffsets(const Located& value) const;

private:
    // The values of the members of one name: where it first and last stands.
    struct Occurrences {
        const Scanned* first = nullptr;
        const Scanned* last = nullptr;
    };
    // An object's members in order of name: its first and last member of
    // each name (indexes among its children), and the name's length in the
    // text, or kEscaped when it has escapes (it is decoded when compared).
    struct Named {
        uint32_t first, last, name;
    };
    static constexpr uint32_t kEscaped = UINT32_MAX;
    struct Index {
        std::vector<Named> names;
    };

    Occurrences Find(const Scanned& object, const std::string& name) const;
    const std::vector<Named>& IndexOf(const Scanned& object) const;
    void Build(const Scanned& object, Index& index) const;
    std::string_view NameOf(const ScanTree::Children& members, const Named& named,
                            std::string& decoded) const;
    void Quoted(const Located& value, size_t& quote, std::vector<size_t>& out) const;

    Located m_root;
    const Definition& m_definition;
    // Objects with many members (the menus, the definitions) are indexed once,
    // under the lock: rule families on two threads share the places.
    mutable std::unordered_map<const Scanned*, Index> m_indexes;
    mutable std::mutex m_indexing;
};

}  // namespace check
