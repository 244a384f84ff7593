// The check of one definition: load it as the splitter does, compute what the
// splitter will write, run the rule families, and hand out the findings in
// file order.
//
// Two threads share the work. json-glib counts references to its objects
// without atomics, and serialising a part of the document (a generator, a
// JSONPath match) takes and drops references: so at any time at most one
// thread serialises, and the other only reads the document (member and
// element lookups, which change nothing).
#include "Check.h"

#include <future>
#include <iterator>
#include <optional>

#include "Document.h"
#include "Effects.h"
#include "Facts.h"
#include "Families.h"
#include "Profiles.h"

namespace check {

using namespace velkin;

namespace {

// The objects of the item definitions, taken out of the document and left
// empty there: after the effective menu nothing reads inside a definition
// (the families see that each is an object, not what it holds), and so they
// can be released beside the families rather than with the document.
class DetachedDefinitions {
public:
    explicit DetachedDefinitions(JsonNode* root)
    {
        JsonObject* items = AsObject(MemberOf(root, kMenuItems));
        if (items == nullptr)
            return;
        JsonObject* empty = json_object_new();
        JsonObjectIter iter;
        json_object_iter_init_ordered(&iter, items);
        // json-glib 1.6 writes the name at the end even when not asked for it.
        const char* name = nullptr;
        JsonNode* node = nullptr;
        while (json_object_iter_next_ordered(&iter, &name, &node))
            if (JsonObject* o = AsObject(node); o != nullptr && json_object_get_size(o) != 0) {
                m_objects.push_back(json_object_ref(o));
                json_node_set_object(node, empty);
            }
        json_object_unref(empty);
    }
    DetachedDefinitions(const DetachedDefinitions&) = delete;
    DetachedDefinitions& operator=(const DetachedDefinitions&) = delete;
    ~DetachedDefinitions() { Release(); }

    void Release()
    {
        for (JsonObject* o : m_objects)
            json_object_unref(o);
        m_objects.clear();
    }

private:
    std::vector<JsonObject*> m_objects;
};

// The families in the order of findings that share one position: the
// look-alike identifiers (found before) after reach, effects after them all.
// Only identifiers serialises: it runs on this thread.
using Family = void (*)(const Context&);
constexpr Family kFamilies[] = {CheckKeys,    CheckIdentifiers, CheckGroups,
                                CheckParents, CheckReach,       CheckFiles};
constexpr size_t kReach = 4;
constexpr size_t kBeside[] = {2, 4};  // groups and reach, with the effects
constexpr size_t kHere[] = {0, 1, 3, 5};

void RunFamilies(const Places& places, const EffectiveMenu& menu, const Names& names,
                 const std::vector<FileVerdict>& files, Findings&& alike, Findings& found)
{
    std::vector<Findings> each(std::size(kFamilies), Findings(found.Source()));
    auto run = [&](size_t k) { kFamilies[k](Context{places, menu, names, files, each[k]}); };
    DetachedDefinitions definitions(places.Root().node);
    std::optional<Effects> effects;
    auto beside = std::async(std::launch::async, [&] {
        definitions.Release();
        effects.emplace(ComputeEffects(places.Root().node, menu));
        for (size_t k : kBeside)
            run(k);
    });
    for (size_t k : kHere)
        run(k);
    beside.get();
    for (size_t k = 0; k < each.size(); ++k) {
        found.Take(std::move(each[k]));
        if (k == kReach)
            found.Take(std::move(alike));
    }
    CheckEffects(Context{places, menu, names, files, found}, *effects);
}

// What the splitter will write and every family's findings, once the
// document is loaded and has a "menutree". The names are read, and
// look-alike identifiers found, while the effective menu is computed; each
// menu's file is read back as soon as the menu is known, so its texts are
// not kept.
void CheckLoaded(const char* path, JsonNode* root, const Places& places, Findings& found)
{
    std::optional<Names> names;
    Findings alike(found.Source());
    auto naming =
        std::async(std::launch::async, [&, added = Names::ReadAddLists(places)]() mutable {
            names.emplace(places, std::move(added));
            CheckLookAlikes(places, *names, alike);
        });
    FileJudge files;
    const EffectiveMenu menu =
        ComputeEffectiveMenu(root, path, [&files](const Menu& m) { files.Judge(m); });
    naming.get();
    names->Written(menu);
    RunFamilies(places, menu, *names, files.Verdicts(), std::move(alike), found);
}

}  // namespace

std::vector<Diagnostic> CheckDefinition(const char* path, std::string_view text)
{
    // The positional reading needs only the text: it is made while json-glib
    // parses.
    std::optional<Definition> read;
    auto reading = std::async(std::launch::async, [&read, text] {
        read.emplace(text, Definition::Detail::NoItemContents);
    });
    g_autoptr(JsonParser) parser = json_parser_new();
    const LoadResult loaded = ParseDefinition(parser, text);
    reading.get();
    const Definition& definition = *read;
    Findings found(definition);
    if (FindProfile(path) == nullptr)
        found.Report(RuleId::NoProfile, kNoOffset,
                     "the file name selects no profile: its menu files would go to the resource "
                     "root itself");
    if (!CheckLoad(loaded, definition, found))
        return found.Sorted();
    JsonNode* root = json_parser_get_root(parser);
    const Places places(root, definition);
    CheckDuplicateKeys(definition, found);
    if (CheckMenuTree(places, found))
        CheckLoaded(path, root, places, found);
    return found.Sorted();
}

}  // namespace check
