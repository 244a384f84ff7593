#include "Catalogue.h"

#include <algorithm>
#include <iterator>

#include "Facts.h"
#include "Profiles.h"

namespace check {

namespace {

using namespace velkin;

// The rules as written below, their texts naming the format's facts by
// {placeholders} that Rules() fills in from the format library.
const std::vector<Rule> kTexts = {
    {RuleId::Syntax, "syntax", Severity::Error, "The definition is not JSON that json-glib reads.",
     "json-glib refuses the file, so the splitter writes nothing at all. The finding stands where "
     "the offending character is (a comment, the token where a comma is missing, the first byte "
     "that is not UTF-8) and says what is wrong; where the checker cannot tell, it gives "
     "json-glib's own message and position."},
    {RuleId::TooDeep, "too-deep", Severity::Error,
     "Arrays and objects nest deeper than {nesting} levels.",
     "The splitter refuses a definition nested beyond {nesting} levels and writes nothing."},
    {RuleId::NoMenutree, "no-menutree", Severity::Error, "The document has no \"menutree\" object.",
     "Without a root object holding a \"menutree\" object the splitter writes no menu file."},
    {RuleId::UnescapedIdentifier, "unescaped-identifier", Severity::Error,
     "An identifier holds a double quote, a backslash or a control character.",
     "Identifiers are written between double quotes without escaping, so every file naming this "
     "one would not be JSON. Rename it."},
    {RuleId::UnsafeMenuName, "unsafe-menu-name", Severity::Error,
     "A menu identifier is empty, \".\" or \"..\", or holds a slash.",
     "The menu's file is named after it: such a name writes the file outside its profile "
     "directory, or nowhere."},
    {RuleId::ReservedMenuName, "reserved-menu-name", Severity::Error, "A menu is named {reserved}.",
     "Its file would overwrite the profile's own {helper-file} or {providers-file}."},
    {RuleId::QueryTooLong, "query-too-long", Severity::Error,
     "An identifier is too long for the splitter's query buffer.",
     "The splitter formats its lookups into {driver-query} bytes ({lookup-query} for edits) and "
     "cuts what does not fit, so it looks up a shorter name."},
    {RuleId::MissingDefinition, "missing-definition", Severity::Warning,
     "An item listed by a menu, or added to one, has no definition under \"menuitems\".",
     "The splitter writes the item with the placeholder display name \"{placeholder}\"."},
    {RuleId::JsonPathIdentifier, "jsonpath-identifier", Severity::Warning,
     "JSONPath reads an identifier as more than a member name.",
     "An identifier that is empty, holds a '.' or '[' or starts with '*' is looked up with "
     "JSONPath as a path, not a name: the lookup finds another value or nothing."},
    {RuleId::MultipleParents, "multiple-parents", Severity::Warning,
     "A menu is listed by several menus.",
     "Only the first listing menu in \"menutree\" order becomes its \"parentitem\"."},
    {RuleId::ParentCycle, "parent-cycle", Severity::Warning, "Parent links of menus form a loop.",
     "Going back through \"parentitem\" from these menus never reaches a root menu."},
    {RuleId::ParentDeleted, "parent-deleted", Severity::Warning,
     "A menu's parent is deleted by \"menudelete\".",
     "The parent link is taken from the definition as written, so the menu still names a parent "
     "that gets no file."},
    {RuleId::DanglingEdit, "dangling-edit", Severity::Warning,
     "An edit names no menu or item of the document.",
     "Entries of \"menudelete\", \"menumodify\" (menus or items) and \"menuadd\" (menus) that "
     "name nothing in the document do nothing."},
    {RuleId::IgnoredEditInfo, "ignored-edit-info", Severity::Warning,
     "Edit information that the splitter never uses.",
     "\"menuaddinfo\" of a menu not in \"menuadd\", \"menumodifyinfo\" of an item not in "
     "\"menumodify\", an amendment that is not an object with members, an amended definition "
     "that is not an object, and the amendment of an item that only arrives through "
     "\"menuadd\" are all ignored; an item of \"menumodify\" without an amendment and a "
     "menu of \"menuadd\" without an add entry are edits without effect."},
    {RuleId::GroupItemNotListed, "group-item-not-listed", Severity::Warning,
     "A group names an item its menu does not list.",
     "Groups are drawn from the menu's \"submenuitems\"; an entry absent there shows nothing."},
    {RuleId::NonStringIdentifier, "non-string-identifier", Severity::Warning,
     "A list of identifiers holds something other than a string.",
     "The splitter passes over elements that are not strings in \"submenuitems\", "
     "\"group-items\", the edit lists and \"menuaddinfo\" lists."},
    {RuleId::DuplicateKey, "duplicate-key", Severity::Warning,
     "An object holds the same member name twice.",
     "json-glib keeps the last value silently; the earlier ones are lost."},
    {RuleId::NoProfile, "no-profile", Severity::Warning, "The file name selects no profile.",
     "The name holds none of {profile-keys}: no {helper-file} or {providers-file} is written and "
     "the menu files go to the resource root itself."},
    {RuleId::UnusedDefinition, "unused-definition", Severity::Warning,
     "An item definition that nothing names.",
     "No menu node lists it (a deleted menu's node counts), no group, add list or edit list "
     "names it and no menu bears its name: the splitter never writes it. Often a misspelt key; "
     "the message names a listed item without definition whose name is close."},
    {RuleId::UnknownMember, "unknown-member", Severity::Warning,
     "A member the splitter does not read, named like one it reads there.",
     "At the root, in a menu node, a group, an edit list or an add entry, a member whose name is "
     "close to one the splitter reads at that place (at most two edits apart, or equal but for "
     "case) is most likely that member misspelt: what it holds is ignored. Names far from every "
     "member read are left alone ($schema, comments, a node's own extra members)."},
    {RuleId::WrongType, "wrong-type", Severity::Warning,
     "A member the splitter reads has a form it passes over.",
     "\"menuitems\", \"menuaddinfo\" and \"menumodifyinfo\" must be objects, menu nodes, groups "
     "and item definitions objects, \"submenuitems\", \"group\" and \"group-items\" arrays, "
     "\"indent-level\" one of the strings {levels}, an edit list an object holding a "
     "\"submenuitems\" array and an add entry an object holding a \"list\" array. Otherwise the "
     "splitter reads nothing there (an item definition is copied as it is)."},
    {RuleId::TooManyGroups, "too-many-groups", Severity::Warning,
     "A menu has more than {groups} groups.",
     "The splitter reads at most {groups} groups of a menu and, with more, none at all: a node it "
     "rebuilds has no \"group\", and a copied node keeps groups it never read."},
    {RuleId::DuplicateEntry, "duplicate-entry", Severity::Warning,
     "A menu's final entries hold an identifier twice.",
     "Listed twice, or repeated by the merge of an addition: the menu file and {helper-file} hold "
     "the same member twice, and the device keeps one of them."},
    {RuleId::OverriddenEdit, "overridden-edit", Severity::Warning,
     "An edit that another edit undoes, so it has no effect.",
     "Edits merged from two branches can contradict each other: the amendment of an item that "
     "\"menudelete\" removes is dropped with the item, an addition to a deleted menu is lost "
     "with the menu, and a deleted item that a \"menuaddinfo\" list names is written again "
     "as an addition. The finding stands at the edit without effect and names the one that "
     "wins."},
    {RuleId::UnreachedMenu, "unreached-menu", Severity::Warning,
     "A written menu that no menu lists, beside another top menu.",
     "A menu without a parent is a top menu of its own; when there is another one, the device "
     "never reaches it. Usually its key in \"menutree\" is misspelt: when a listed entry "
     "without a menu node has a close name (case, spaces, invisible characters, look-alike "
     "letters), the finding names it, and a second finding at that entry names the menu."},
    {RuleId::GroupRewritten, "group-rewritten", Severity::Warning,
     "A group is written otherwise than defined, or without a level.",
     "A node that loses or gains entries is rebuilt from the strings of its groups, read one "
     "after another: a group without a valid \"indent-level\" string joins the group before "
     "it, so the groups written differ from the groups defined. A copied node keeps a group "
     "without \"indent-level\" as it is: the file holds a group without a level."},
    {RuleId::LookAlikeIdentifiers, "look-alike-identifiers", Severity::Warning,
     "Two identifiers differ only by case, spaces, invisible characters or look-alike letters.",
     "The splitter treats them as different names, but a reader cannot tell them apart: "
     "one of them is most likely a slip. Invisible characters are shown escaped (\\u200b)."},
    {RuleId::UnreadableFile, "unreadable-file", Severity::Error,
     "A file the splitter writes is not JSON, or cannot be written.",
     "The checker renders every file the splitter writes and reads it back: a file that is not "
     "UTF-8 JSON (a wildcard identifier queried by JSONPath, an escape json-glib turns into a "
     "raw byte), that reads back as another menu, or whose name is longer than a file name may "
     "be (NAME_MAX, {name-max}) leaves the device with a broken or missing file."},
    {RuleId::NoProviders, "no-providers", Severity::Warning,
     "The document gives no \"providers\" value.",
     "Without a \"providers\" member (or with one whose value serialises to nothing) the "
     "splitter writes {providers-file} holding null: the device is given no provider."},
    {RuleId::NoEffect, "no-effect", Severity::Warning,
     "A part of the definition that changes no file the splitter writes.",
     "Every member and element outside the item definitions is either written into a file, an "
     "edit that changes one, or without effect: read and passed over, undone by another part, "
     "or never read. The rules above name the usual cases; this one reports the others, at the "
     "part, saying why and what is written instead: a member of a node that is rebuilt (only "
     "\"submenuitems\" and \"group\" are written, a group only \"indent-level\" and "
     "\"group-items\"), an edit list string given twice, a deletion of what no written menu "
     "lists, an add entry giving no identifier, an amendment of an item no written menu lists, "
     "a definition no written menu lists, a member read nowhere. \"$schema\", a deleted "
     "menu's node and what \"menudelete\" removes are left alone."},
    {RuleId::AddedLoop, "added-loop", Severity::Error,
     "An addition makes a menu list itself or a menu above it.",
     "A \"menuaddinfo\" list naming the menu itself, or a menu its parent links lead up to, "
     "writes that menu as an entry of the menu: the device then goes round in a loop there "
     "(the parent links are taken from the definition as written, so they do not change)."},
};

// "a", "a or b", "a, b or c": the words quoted.
template <typename Words>
std::string Listing(const Words& words)
{
    std::string out;
    const size_t n = std::size(words);
    for (size_t i = 0; i < n; ++i) {
        out += i == 0 ? "" : (i + 1 == n ? " or " : ", ");
        out += "\"" + std::string(words[i]) + "\"";
    }
    return out;
}

std::string FileStem(std::string_view file)
{
    return std::string(file.substr(0, file.rfind('.')));
}

const std::vector<std::pair<std::string, std::string>>& Facts()
{
    static const std::vector<std::pair<std::string, std::string>> facts = [] {
        std::vector<const char*> keys;
        for (const Profile& profile : kProfiles)
            keys.push_back(profile.key);
        const char* reserved[] = {kHelperFile, kProvidersFile};
        std::vector<std::string> stems;
        for (const char* file : reserved)
            stems.push_back(FileStem(file));
        return std::vector<std::pair<std::string, std::string>>{
            {"{nesting}", std::to_string(kMaxNesting)},
            {"{name-max}", "255"},
            {"{driver-query}", std::to_string(kDriverQuerySize)},
            {"{lookup-query}", std::to_string(kLookupQuerySize)},
            {"{groups}", kMaxGroups == 2 ? "two" : std::to_string(kMaxGroups)},
            {"{levels}", Listing(kIndentLevels)},
            {"{profile-keys}", Listing(keys)},
            {"{reserved}", Listing(stems)},
            {"{helper-file}", kHelperFile},
            {"{providers-file}", kProvidersFile},
            {"{placeholder}", std::string(kPlaceholderDisplayName)},
        };
    }();
    return facts;
}

std::string Filled(std::string text)
{
    for (const auto& [name, value] : Facts())
        for (size_t at = text.find(name); at != std::string::npos; at = text.find(name, at))
            text.replace(at, name.size(), value);
    return text;
}

}  // namespace

const std::vector<Rule>& Rules()
{
    static const std::vector<Rule> rules = [] {
        std::vector<Rule> filled = kTexts;
        for (Rule& rule : filled) {
            rule.summary = Filled(rule.summary);
            rule.help = Filled(rule.help);
        }
        return filled;
    }();
    return rules;
}

const Rule& RuleOf(RuleId id)
{
    return Rules()[static_cast<size_t>(id)];
}

const Rule* FindRule(std::string_view name)
{
    for (const Rule& rule : Rules())
        if (name == rule.name)
            return &rule;
    return nullptr;
}

}  // namespace check
