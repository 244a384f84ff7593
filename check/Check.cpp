// The check of one definition: load it as the splitter does, compute what the
// splitter will write, run the rule families, and hand out the findings in
// file order.
#include "Check.h"

#include "Families.h"
#include "Profiles.h"

namespace check {

using namespace velkin;

std::vector<Diagnostic> CheckDefinition(const char* path, std::string_view text)
{
    const Definition definition(text, Definition::Detail::NoItemContents);
    Findings found(definition);
    if (FindProfile(path) == nullptr)
        found.Report(RuleId::NoProfile, kNoOffset,
                     "the file name selects no profile: its menu files would go to the resource "
                     "root itself");
    g_autoptr(JsonParser) parser = json_parser_new();
    if (!CheckLoad(ParseDefinition(parser, text), definition, found))
        return found.Sorted();
    JsonNode* root = json_parser_get_root(parser);
    const Places places(root, definition);
    CheckDuplicateKeys(definition, found);
    if (!CheckMenuTree(places, found))
        return found.Sorted();
    Names names(places);
    // Each menu's file is read back as soon as the menu is known: its texts
    // are not kept.
    FileJudge files;
    const EffectiveMenu menu =
        ComputeEffectiveMenu(root, path, [&files](const Menu& m) { files.Judge(m); });
    names.Written(menu);
    const Context c{places, menu, names, files.Verdicts(), found};
    for (void (*family)(const Context&) :
         {CheckKeys, CheckIdentifiers, CheckGroups, CheckParents, CheckReach, CheckFiles,
          CheckEffects})
        family(c);
    return found.Sorted();
}

}  // namespace check
