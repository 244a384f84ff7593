// Effects: every part of the definition that changes no written file, read
// from the record of what the splitter did with each part (format/Effects),
// and reported at that part with why. The edit rules (dangling-edit,
// ignored-edit-info, overridden-edit) are its messages; parts whose form
// another family already reports at the same place are left to it. Also the
// loops an addition makes.
#include <string>

#include "Effects.h"
#include "Families.h"
#include "Facts.h"
#include "Fragments.h"
#include "Identifiers.h"
#include "JsonPathText.h"

namespace check {

using namespace velkin;

namespace {

class EffectReport {
public:
    EffectReport(const Context& c, const Effects& effects) : m_c(c), m_effects(effects) {}

    void Run()
    {
        for (size_t i = 0; i < m_effects.parts.size(); ++i)
            One(i);
        Undone();
    }

private:
    const Context& m_c;
    const Effects& m_effects;

    Located Locate(size_t i) const
    {
        Located at = m_c.places.Root();
        for (const velkin::Part* p : m_effects.PathOf(i))
            at = p->IsMember() ? m_c.places.Member(at, p->key) : m_c.places.Element(at, p->index);
        return at;
    }
    size_t OffsetOf(size_t i) const
    {
        if (i == kNoPart)
            return kNoOffset;
        const Located at = Locate(i);
        return m_effects.parts[i].IsMember() ? at.key : at.Offset();
    }
    std::string WhereOf(size_t i) const { return Where(m_c.places.At(OffsetOf(i))); }
    // The member name at level `depth` of the part's path (0: the root member).
    std::string KeyAt(size_t i, size_t depth) const { return m_effects.PathOf(i)[depth]->key; }
    // The identifier an edit list string or an info member names.
    std::string IdOf(size_t i) const
    {
        const velkin::Part& p = m_effects.parts[i];
        if (p.IsMember())
            return p.key;
        const char* id = AsString(Locate(i).node);
        return id != nullptr ? id : "";
    }

    void Report(RuleId rule, size_t i, const std::string& message) const
    {
        m_c.found.Report(rule, OffsetOf(i), message);
    }
    void One(size_t i) const;
    void EditMessage(size_t i) const;
    void InfoMessage(size_t i) const;
    std::string Message(size_t i) const;
    void NoEffect(size_t i) const;
    std::string Describe(size_t i) const;
    void Undone() const;
};

void EffectReport::One(size_t i) const
{
    const velkin::Part& p = m_effects.parts[i];
    switch (p.why) {
    case Why::None:
    case Why::Harmless:
    case Why::MenuDeleted:
    case Why::EntryDeleted:
    case Why::FollowsFrom:
    case Why::UndoneByAddition:  // reported per menu that undoes it
        return;
    case Why::NamesNothing:
    case Why::TargetDeleted:
    case Why::NoInfo:
    case Why::OnlyAdded: EditMessage(i); return;
    case Why::NotInEditList:
    case Why::NotObjectWithMembers:
    case Why::DefinitionNotObject: InfoMessage(i); return;
    default: break;
    }
    // What another family reports by its form is left to it.
    const Located at = Locate(i);
    if (m_c.found.ReportedAt(OffsetOf(i)) || (p.IsMember() && m_c.found.ReportedAt(at.lastKey)))
        return;
    NoEffect(i);
}

// A string of an edit list without effect, by why.
void EffectReport::EditMessage(size_t i) const
{
    const velkin::Part& p = m_effects.parts[i];
    const std::string list = KeyAt(i, 0);
    const std::string id = IdOf(i);
    if (p.why == Why::NamesNothing)
        Report(RuleId::DanglingEdit, i,
               "\"" + list + "\" names " + Show(id) + ", which is no menu" +
                   (list == kMenuAdd ? "" : " or item"));
    else if (p.why == Why::TargetDeleted && list == kMenuAdd)
        Report(RuleId::OverriddenEdit, i,
               "the additions to menu " + Show(id) + " are lost: \"menudelete\" removes it (" +
                   WhereOf(p.by) + "), so it gets no file");
    else if (p.why == Why::TargetDeleted)
        Report(RuleId::OverriddenEdit, i,
               "the amendment of " + Show(id) + " has no effect: \"menudelete\" removes it (" +
                   WhereOf(p.by) + "), so no file holds the item");
    else if (p.why == Why::OnlyAdded)
        Report(RuleId::IgnoredEditInfo, i,
               "item " + Show(id) +
                   " only arrives through \"menuadd\": added items are written without their "
                   "amendment");
    else if (list == kMenuAdd)
        Report(RuleId::IgnoredEditInfo, i,
               "\"menuadd\" names " + Show(id) +
                   ", but \"menuaddinfo\" holds no add entry for it: nothing is added to it");
    else
        Report(RuleId::IgnoredEditInfo, i,
               "\"menumodify\" names " + Show(id) +
                   ", but \"menumodifyinfo\" holds no amendment for it: it is written unamended");
}

// A member of "menuaddinfo" or "menumodifyinfo" that is never used.
void EffectReport::InfoMessage(size_t i) const
{
    const velkin::Part& p = m_effects.parts[i];
    const std::string info = KeyAt(i, 0);
    if (p.why == Why::NotInEditList && info == kMenuAddInfo)
        Report(
            RuleId::IgnoredEditInfo, i,
            "\"menuaddinfo\" of " + Show(p.key) + " is never read: the menu is not in \"menuadd\"");
    else if (p.why == Why::NotInEditList)
        Report(RuleId::IgnoredEditInfo, i,
               "\"menumodifyinfo\" of " + Show(p.key) +
                   " is never read: the item is not in \"menumodify\"");
    else if (p.why == Why::NotObjectWithMembers)
        Report(RuleId::IgnoredEditInfo, i,
               "the amendment of " + Show(p.key) + " is not an object with members: it is ignored");
    else
        Report(RuleId::IgnoredEditInfo, i,
               "the amendment of " + Show(p.key) + " is ignored: the definition of " + Show(p.key) +
                   " (" + WhereOf(p.by) + ") is not an object, which takes no member");
}

// Where a part stands, in words: "member "x" of menu "m"", ...
std::string EffectReport::Describe(size_t i) const
{
    const std::vector<const velkin::Part*> path = m_effects.PathOf(i);
    const velkin::Part& p = *path.back();
    const std::string what =
        p.IsMember() ? "member " + Show(p.key) : "element " + std::to_string(p.index);
    if (path.size() == 1)
        return what + " of the document";
    const std::string& top = path[0]->key;
    if (top == kMenuTree && path.size() == 3)
        return what + " of menu " + Show(path[1]->key);
    if (top == kMenuTree && path.size() >= 4)
        return what + " of group " + std::to_string(path[3]->index + 1) + " of menu " +
               Show(path[1]->key);
    if (top == kMenuAddInfo)
        return what + " of the add entry of menu " + Show(path[1]->key);
    return what + " of \"" + top + "\"";
}

// Why part `i` has no effect, in words; empty where another finding says it.
std::string EffectReport::Message(size_t i) const
{
    const velkin::Part& p = m_effects.parts[i];
    const std::string top = KeyAt(i, 0);
    switch (p.why) {
    case Why::DroppedByRebuild:
        return Describe(i) +
               " is not written: the menu loses or gains entries, so its node is "
               "rebuilt with only \"submenuitems\" and \"group\", and each group "
               "with only \"indent-level\" and \"group-items\"";
    case Why::Repeated:
        return "\"" + top + "\" names " + Show(IdOf(i)) + " again (first at " + WhereOf(p.by) +
               "): the repeat has no effect";
    case Why::RemovesNothing:
        return "the deletion of " + Show(IdOf(i)) +
               " has no effect: no written menu lists it and it is no menu";
    case Why::NoIdentifiers:
        return "the add entry of menu " + Show(p.key) +
               " gives no identifier to add: nothing is added to it";
    case Why::NotWritten:
        // A definition no written menu holds: the finding on what names it
        // (unused-definition, unreached-menu, group-item-not-listed, a lookup) says why.
        if (top == kMenuItems)
            return std::string();
        return "\"menumodify\" names " + Show(IdOf(i)) +
               ", which no written menu lists: its amendment is never applied";
    case Why::NotString: return Describe(i) + " is not a string: it is passed over";
    case Why::TooManyGroups:
        return Describe(i) + " is not read: the splitter reads at most " +
               std::to_string(kMaxGroups) + " groups";
    case Why::WrongForm:
        return Describe(i) + " has a form the splitter passes over: nothing of it is written";
    default: return Describe(i) + " is never read, so nothing of it is written";
    }
}

void EffectReport::NoEffect(size_t i) const
{
    const std::string message = Message(i);
    if (!message.empty())
        Report(RuleId::NoEffect, i, message);
}

// A deletion an addition undoes, once per menu that writes the item again.
void EffectReport::Undone() const
{
    const std::vector<size_t>& deletions = m_effects.editStrings[0];
    for (const DeletedEntry& u : m_c.menu.undone)
        if (u.edit < deletions.size())
            Report(RuleId::OverriddenEdit, deletions[u.edit],
                   "the deletion of " + Show(u.id) + " is undone in menu " + Show(u.menu) +
                       ": its \"menuaddinfo\" list names " + Show(u.id) +
                       ", which is written again as an addition");
}

// Where the added entry `entry` of `menu` was read: its quoted string in the
// menu's add list, else the menu's string in "menuadd".
size_t AddedAt(const Context& c, const Menu& menu, const std::string& id)
{
    const Located info = c.places.Member(c.places.Root(), kMenuAddInfo);
    const Located list = c.places.Member(c.places.Member(info, menu.id), kAddList);
    for (const ItemEntry& item : menu.items)
        if (item.origin == Origin::Added && item.id == id) {
            const std::vector<size_t> quoted = c.places.QuotedStringOffsets(list);
            if (item.source < quoted.size())
                return quoted[item.source];
        }
    return c.places.Member(info, menu.id).key;
}

// Additions that make the device go round: a menu given itself, or a menu
// above it, as an entry.
void CheckAddedLoops(const Context& c, const Effects& effects)
{
    for (const AddedLoop& loop : effects.loops) {
        const Menu& menu = c.menu.menus[loop.menu];
        const std::string& target = menu.entries[loop.entry].id;
        std::string round;
        for (size_t k = loop.around.size(); k-- > 0;)
            round += Show(c.menu.menus[loop.around[k]].id) + " -> ";
        c.found.Report(RuleId::AddedLoop, AddedAt(c, menu, target),
                       "the addition of " + Show(target) + " to menu " + Show(menu.id) +
                           (target == menu.id ? " makes the menu list itself"
                                              : " makes it list a menu above it") +
                           ": the device goes round " + round + Show(target));
    }
}

}  // namespace

bool AmendsListedItem(const Context& c, const std::string& id)
{
    const Located modifyInfo = c.places.Member(c.places.Root(), kMenuModifyInfo);
    JsonObject* amendment = AsObject(c.places.Member(modifyInfo, id).node);
    return c.names.Modified(id) && c.names.WrittenListed(id) && amendment != nullptr &&
           json_object_get_size(amendment) != 0;
}

void CheckEffects(const Context& c, const Effects& effects)
{
    EffectReport(c, effects).Run();
    CheckAddedLoops(c, effects);
}

}  // namespace check
