#include "Diff.h"

#include <algorithm>
#include <cstdint>
#include <deque>
#include <set>
#include <tuple>
#include <unordered_map>

#include "Labels.h"
#include "Walk.h"

namespace tree {

namespace {

using velkin::EffectiveMenu;
using velkin::Menu;

// An entry, by the indexes of its menu and of itself in that menu.
struct At {
    size_t menu, entry;
};

// An entry of the old menus matched with one of the new.
struct Match {
    At before, after;
    bool moved;
};

// Which of `values` belong to one longest strictly increasing subsequence.
std::vector<bool> LongestIncreasing(const std::vector<size_t>& values)
{
    std::vector<size_t> tails;  // index of the smallest tail of each length
    std::vector<size_t> previous(values.size(), SIZE_MAX);
    for (size_t i = 0; i < values.size(); ++i) {
        auto it = std::lower_bound(tails.begin(), tails.end(), values[i],
                                   [&values](size_t t, size_t v) { return values[t] < v; });
        if (it != tails.begin())
            previous[i] = *std::prev(it);
        if (it == tails.end())
            tails.push_back(i);
        else
            *it = i;
    }
    std::vector<bool> in(values.size(), false);
    for (size_t i = tails.empty() ? SIZE_MAX : tails.back(); i != SIZE_MAX; i = previous[i])
        in[i] = true;
    return in;
}

bool SameGroups(const std::vector<velkin::Group>& a, const std::vector<velkin::Group>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const velkin::Group& x, const velkin::Group& y) {
                          return x.level == y.level && x.items == y.items;
                      });
}

class Comparer {
public:
    Comparer(const EffectiveMenu& before, const EffectiveMenu& after) : m_b(before), m_a(after) {}

    MenuDiff Run()
    {
        for (size_t i = 0; i < m_b.menus.size(); ++i)
            if (m_a.Find(m_b.menus[i].id) == nullptr)
                Gone(i);
        for (size_t j = 0; j < m_a.menus.size(); ++j) {
            const Menu* old = m_b.Find(m_a.menus[j].id);
            if (old == nullptr)
                New(j);
            else
                Common(static_cast<size_t>(old - m_b.menus.data()), j);
        }
        PairMoves();
        Renames();
        Leftovers();
        Matches();
        m_diff.order = DrawnOrder(m_a);
        for (const std::string& menu : m_diff.menusRemoved)
            m_diff.order.push_back(menu);
        return std::move(m_diff);
    }

private:
    const EffectiveMenu& m_b;
    const EffectiveMenu& m_a;
    MenuDiff m_diff;
    std::vector<Match> m_matches;
    // Entries without a match in the same menu; `whole`: their menu was
    // removed or added with them.
    struct Unmatched {
        At at;
        bool whole;
        bool paired = false;
    };
    std::vector<Unmatched> m_removed, m_added;

    Place PlaceOf(const EffectiveMenu& model, At at) const
    {
        return Place{model.menus[at.menu].id, at.entry + 1};
    }
    const velkin::Entry& EntryOf(const EffectiveMenu& model, At at) const
    {
        return model.menus[at.menu].entries[at.entry];
    }

    void Gone(size_t i)
    {
        m_diff.menusRemoved.push_back(m_b.menus[i].id);
        for (size_t e = 0; e < m_b.menus[i].entries.size(); ++e)
            m_removed.push_back(Unmatched{At{i, e}, true});
    }
    void New(size_t j)
    {
        m_diff.menusAdded.push_back(m_a.menus[j].id);
        for (size_t e = 0; e < m_a.menus[j].entries.size(); ++e)
            m_added.push_back(Unmatched{At{j, e}, true});
    }

    void Common(size_t i, size_t j)
    {
        const Menu& old = m_b.menus[i];
        const Menu& now = m_a.menus[j];
        MatchEntries(i, j);
        if (!SameGroups(old.groups, now.groups))
            m_diff.groups.push_back(GroupsChange{now.id, old.groups, now.groups});
        if (old.parent != now.parent)
            m_diff.parents.push_back(ParentChange{now.id, old.parent, now.parent});
    }

    // The n-th occurrence of an identifier in the old menu i matches its n-th
    // occurrence in the new menu j; matched entries out of their relative
    // order (outside one longest run that kept it) have moved.
    void MatchEntries(size_t i, size_t j)
    {
        const std::vector<velkin::Entry>& old = m_b.menus[i].entries;
        const std::vector<velkin::Entry>& now = m_a.menus[j].entries;
        std::unordered_map<std::string, std::deque<size_t>> waiting;
        for (size_t e = 0; e < old.size(); ++e)
            waiting[old[e].id].push_back(e);
        std::vector<bool> matched(old.size(), false);
        std::vector<size_t> order;
        const size_t first = m_matches.size();
        for (size_t e = 0; e < now.size(); ++e) {
            std::deque<size_t>& queue = waiting[now[e].id];
            if (queue.empty()) {
                m_added.push_back(Unmatched{At{j, e}, false});
                continue;
            }
            matched[queue.front()] = true;
            order.push_back(queue.front());
            m_matches.push_back(Match{At{i, queue.front()}, At{j, e}, false});
            queue.pop_front();
        }
        for (size_t e = 0; e < old.size(); ++e)
            if (!matched[e])
                m_removed.push_back(Unmatched{At{i, e}, false});
        const std::vector<bool> kept = LongestIncreasing(order);
        for (size_t k = 0; k < order.size(); ++k)
            m_matches[first + k].moved = !kept[k];
    }

    // An identifier that left one menu and came to another has moved.
    void PairMoves()
    {
        std::unordered_map<std::string, std::deque<size_t>> left;
        for (size_t r = 0; r < m_removed.size(); ++r)
            left[EntryOf(m_b, m_removed[r].at).id].push_back(r);
        for (Unmatched& came : m_added) {
            auto it = left.find(EntryOf(m_a, came.at).id);
            if (it == left.end() || it->second.empty())
                continue;
            Unmatched& went = m_removed[it->second.front()];
            it->second.pop_front();
            went.paired = came.paired = true;
            m_matches.push_back(Match{went.at, came.at, true});
        }
    }

    // An entry removed and one added at the same place of the same menu,
    // with one definition: the entry was renamed.
    void Renames()
    {
        std::unordered_map<std::string, size_t> removedAt;
        for (size_t r = 0; r < m_removed.size(); ++r)
            if (!m_removed[r].paired && !m_removed[r].whole)
                removedAt.emplace(PlaceKey(PlaceOf(m_b, m_removed[r].at)), r);
        for (Unmatched& came : m_added) {
            auto it = came.paired || came.whole ? removedAt.end()
                                                : removedAt.find(PlaceKey(PlaceOf(m_a, came.at)));
            if (it == removedAt.end())
                continue;
            Unmatched& went = m_removed[it->second];
            const std::optional<std::string> definition = Definition(m_a, came.at);
            if (went.paired || !definition || Definition(m_b, went.at) != definition)
                continue;
            went.paired = came.paired = true;
            m_diff.renamed.push_back(Rename{m_a.menus[came.at.menu].id, EntryOf(m_b, went.at).id,
                                            EntryOf(m_a, came.at).id, came.at.entry + 1,
                                            NameOf(m_a, came.at)});
        }
    }
    static std::string PlaceKey(const Place& place)
    {
        return std::to_string(place.position) + '/' + place.menu;
    }

    void Leftovers()
    {
        for (const Unmatched& u : m_removed)
            if (!u.paired)
                m_diff.removed.push_back(EntryChange{EntryOf(m_b, u.at).id, PlaceOf(m_b, u.at),
                                                     std::nullopt, NameOf(m_b, u.at)});
        for (const Unmatched& u : m_added)
            if (!u.paired)
                m_diff.added.push_back(EntryChange{EntryOf(m_a, u.at).id, std::nullopt,
                                                   PlaceOf(m_a, u.at), NameOf(m_a, u.at)});
    }

    // Moves and changed definitions, in the order of the new menus.
    void Matches()
    {
        std::sort(m_matches.begin(), m_matches.end(), [](const Match& x, const Match& y) {
            return std::tie(x.after.menu, x.after.entry) < std::tie(y.after.menu, y.after.entry);
        });
        std::set<std::pair<size_t, std::string>> reported;
        for (const Match& m : m_matches) {
            const velkin::Entry& entry = EntryOf(m_a, m.after);
            const std::optional<std::string> name = NameOf(m_a, m.after);
            if (m.moved)
                m_diff.moved.push_back(
                    EntryChange{entry.id, PlaceOf(m_b, m.before), PlaceOf(m_a, m.after), name});
            const std::optional<std::string> before = Definition(m_b, m.before);
            const std::optional<std::string> after = Definition(m_a, m.after);
            if (before != after && reported.emplace(m.after.menu, entry.id).second)
                m_diff.definitions.push_back(
                    DefinitionChange{m_a.menus[m.after.menu].id, entry.id, before, after, name});
        }
    }

    std::optional<std::string> NameOf(const EffectiveMenu& model, At at) const
    {
        const std::optional<std::string> definition = Definition(model, at);
        return definition ? DisplayName(*definition) : std::nullopt;
    }

    std::optional<std::string> Definition(const EffectiveMenu& model, At at) const
    {
        const Menu& menu = model.menus[at.menu];
        const velkin::ItemEntry* item = menu.DefinitionOf(menu.entries[at.entry]);
        return item != nullptr ? std::optional<std::string>(item->definition) : std::nullopt;
    }
};

// The menus in the order the tree views draw them.
class Order : public TreeVisitor {
public:
    explicit Order(const EffectiveMenu& model) : m_model(model) {}
    std::vector<std::string> menus;
    void BeginRoot(size_t menu, bool shown) override
    {
        if (!shown)
            menus.push_back(m_model.menus[menu].id);
    }
    void VisitEntry(size_t menu, size_t entry, size_t, bool, Reach reach) override
    {
        if (reach == Reach::Expanded)
            menus.push_back(m_model.menus[menu].entries[entry].id);
    }

private:
    const EffectiveMenu& m_model;
};

// The deletion records of `after` that explain a removed menu or entry.
void NoteDeletions(MenuDiff& diff, const EffectiveMenu& after)
{
    std::set<std::string_view> removedMenus(diff.menusRemoved.begin(), diff.menusRemoved.end());
    for (const velkin::DeletedMenu& menu : after.deletedMenus)
        if (removedMenus.count(menu.id) != 0)
            diff.menusDeleted.push_back(menu);
    std::set<std::pair<std::string_view, std::string_view>> removed;
    for (const EntryChange& c : diff.removed)
        removed.emplace(c.from->menu, c.id);
    for (const velkin::DeletedEntry& entry : after.deletedEntries)
        if (removed.count({entry.menu, entry.id}) != 0)
            diff.entriesDeleted.push_back(entry);
}

}  // namespace

std::vector<std::string> DrawnOrder(const EffectiveMenu& model)
{
    Order order(model);
    Walk(model, order);
    return std::move(order.menus);
}

bool MenuDiff::Equal() const
{
    return menusRemoved.empty() && menusAdded.empty() && removed.empty() && added.empty() &&
           moved.empty() && renamed.empty() && definitions.empty() && groups.empty() &&
           parents.empty();
}

MenuDiff CompareMenus(const EffectiveMenu& before, const EffectiveMenu& after)
{
    MenuDiff diff = Comparer(before, after).Run();
    NoteDeletions(diff, after);
    return diff;
}

}  // namespace tree
