// Keys and syntax: whether json-glib reads the text at all, repeated member
// names, the "menutree" object, and lists holding what is not a string.
#include <algorithm>
#include <cstdio>
#include <string>
#include <unordered_map>

#include "Families.h"
#include "Facts.h"
#include "Identifiers.h"

namespace check {

using namespace velkin;

namespace {

// json-glib's message begins "<data>:LINE:COLUMN: "; the rest is kept, on one line.
void ReportSyntax(const std::string& message, Findings& found)
{
    long line = 1;
    long column = 1;
    int used = 0;
    const char* text = message.c_str();
    if (std::sscanf(text, "<data>:%ld:%ld: %n", &line, &column, &used) == 2 && used > 0) {
        text += used;
        // At the end of a line json-glib's scanner may stand at column 0.
        line = std::max(line, 1L);
        column = std::max(column, 1L);
    } else {
        line = 1;
        column = 1;
    }
    found.ReportAt(RuleId::Syntax, Position{line, column}, OneLine(text));
}

void FindDuplicates(const Node& node, const Definition& definition, Findings& found)
{
    if (node.kind == Node::Kind::Object) {
        std::unordered_map<std::string_view, const Member*> seen;
        for (const Member& m : node.members) {
            auto [it, fresh] = seen.emplace(m.name, &m);
            if (!fresh) {
                const Position first = definition.At(it->second->offset);
                found.Report(RuleId::DuplicateKey, m.offset,
                             "member " + Show(m.name) + " repeats the one at line " +
                                 std::to_string(first.line) + ", column " +
                                 std::to_string(first.column) +
                                 "; json-glib keeps only the last value");
            }
            FindDuplicates(m.value, definition, found);
        }
    } else if (node.kind == Node::Kind::Array) {
        for (const Node& element : node.elements)
            FindDuplicates(element, definition, found);
    }
}

// Elements of an identifier list that are not strings. Lists the splitter
// reads `fromText` (group items, add lists) are split at the quotes of their
// serialised text: every string nested in an element counts.
void NonStrings(const Context& c, const Located& list, const std::string& where,
                bool fromText = false)
{
    const std::vector<Located> elements = c.places.Elements(list);
    for (size_t i = 0; i < elements.size(); ++i) {
        const Located& e = elements[i];
        if (AsString(e.node) != nullptr)
            continue;
        const bool nested = AsObject(e.node) != nullptr || AsArray(e.node) != nullptr;
        c.found.Report(RuleId::NonStringIdentifier, e.Offset(),
                       "element " + std::to_string(i) + " of " + where + " is not a string: " +
                           (fromText && nested ? "every string inside it is read as an identifier"
                                               : "it is passed over"));
    }
}

void NonStringIdentifiers(const Context& c)
{
    const Located& root = c.places.Root();
    for (std::string_view key : kEditLists) {
        const Located list = c.places.Member(root, std::string(key));
        NonStrings(c, c.places.Member(list, kSubmenuItems), "\"" + std::string(key) + "\"");
    }
    const Located addInfo = c.places.Member(root, kMenuAddInfo);
    for (const std::string& id : c.menu.menuTree) {
        const Located node = c.places.Member(c.names.Tree(), id);
        NonStrings(c, c.places.Member(node, kSubmenuItems),
                   "the \"submenuitems\" of menu " + Show(id));
        if (c.menu.Find(id) == nullptr)
            continue;
        for (const Located& group : c.places.Elements(c.places.Member(node, kGroup)))
            NonStrings(c, c.places.Member(group, kGroupItems),
                       "a \"group-items\" of menu " + Show(id), true);
        if (c.names.AddedTo(id))
            NonStrings(c, c.places.Member(c.places.Member(addInfo, id), kAddList),
                       "the \"menuaddinfo\" list of menu " + Show(id), true);
    }
}

}  // namespace

bool CheckLoad(const LoadResult& loaded, const Definition& definition, Findings& found)
{
    switch (loaded.status) {
    case LoadStatus::TooDeep:
        found.Report(RuleId::TooDeep, loaded.tooDeepAt,
                     "nesting goes beyond " + std::to_string(kMaxNesting) + " levels here");
        return false;
    case LoadStatus::Syntax: ReportSyntax(loaded.message, found); return false;
    case LoadStatus::Empty:
        found.Report(RuleId::NoMenutree, kNoOffset,
                     "the document is empty: nothing would be written");
        return false;
    case LoadStatus::Loaded: break;
    }
    (void)definition;
    return true;
}

void CheckDuplicateKeys(const Definition& definition, Findings& found)
{
    if (const Node* root = definition.Root())
        FindDuplicates(*root, definition, found);
}

bool CheckMenuTree(const Places& places, Findings& found)
{
    const Located& root = places.Root();
    if (AsObject(root.node) == nullptr) {
        found.Report(RuleId::NoMenutree, root.Offset(),
                     "the document is not an object: nothing would be written");
        return false;
    }
    const Located tree = places.Member(root, kMenuTree);
    if (!tree.Present()) {
        found.Report(RuleId::NoMenutree, root.Offset(),
                     "the document has no \"menutree\": no menu file would be written");
        return false;
    }
    if (AsObject(tree.node) == nullptr) {
        found.Report(RuleId::NoMenutree, tree.key,
                     "\"menutree\" is not an object: no menu file would be written");
        return false;
    }
    return true;
}

void CheckKeys(const Context& c)
{
    NonStringIdentifiers(c);
}

}  // namespace check
