#include "TextView.h"

#include <vector>

#include "Color.h"
#include "Deletions.h"
#include "Labels.h"
#include "Members.h"
#include "Walk.h"

namespace tree {

namespace {

namespace sgr = cli::sgr;

const char kBranch[] = "├── ";
const char kLastBranch[] = "└── ";
const char kTrunk[] = "│   ";
const char kSpace[] = "    ";
const char kStruck[] = "\033[9;31m";  // red, struck through

class TextDrawer : public TreeVisitor {
public:
    TextDrawer(const velkin::EffectiveMenu& model, bool color, bool definitions)
        : m_model(model), m_color(color)
    {
        if (definitions)
            m_amendments = AppliedAmendments(model);
    }

    std::string Take()
    {
        DeletedMenus();
        if (m_marked)
            Legend();
        return std::move(m_out);
    }

    void BeginRoot(size_t menu, bool shown) override
    {
        if (!m_out.empty() && !m_afterHeading)
            m_out += '\n';
        m_afterHeading = false;
        Styled(sgr::kBold, Printable(m_model.menus[menu].id));
        if (shown)
            Suffix(kSeeAbove);
        m_out += '\n';
    }

    void BeginUnreachable() override
    {
        m_out += '\n';
        Styled(sgr::kBold, kUnreachableHeading);
        m_out += '\n';
        m_afterHeading = true;
    }

    void VisitEntry(size_t menu, size_t index, size_t depth, bool last, Reach reach) override
    {
        const velkin::Menu& m = m_model.menus[menu];
        const velkin::Entry& entry = m.entries[index];
        Section(menu, index);
        m_out += m_prefix;
        m_out += last ? kLastBranch : kBranch;
        Label(m, entry, reach != Reach::Leaf);
        if (depth > kMaxIndent)
            Suffix("(level " + std::to_string(depth) + ")");
        if (reach == Reach::Shown)
            Suffix(kSeeAbove);
        m_out += '\n';
        Amended(m, entry, std::string(last ? kSpace : kTrunk) +
                              (reach == Reach::Expanded ? kTrunk : kSpace));
        if (reach != Reach::Expanded)
            return;
        const size_t before = m_prefix.size();
        if (depth <= kMaxIndent)
            m_prefix += last ? kSpace : kTrunk;
        m_pushed.push_back(m_prefix.size() - before);
    }

    void LeaveEntry() override
    {
        m_prefix.resize(m_prefix.size() - m_pushed.back());
        m_pushed.pop_back();
    }

    void VisitDeleted(size_t, size_t record, size_t, bool last) override
    {
        const velkin::DeletedEntry& deleted = m_model.deletedEntries[record];
        m_out += m_prefix;
        m_out += last ? kLastBranch : kBranch;
        Deleted(deleted.id, deleted.edit);
    }

private:
    const velkin::EffectiveMenu& m_model;
    const bool m_color;
    std::string m_out;
    std::string m_prefix;          // the trunks of the levels above
    std::vector<size_t> m_pushed;  // bytes each expanded level added to it
    bool m_marked = false;         // some entry carries a mark
    bool m_afterHeading = false;   // the unreachable heading was the last line
    bool m_deleted = false;        // some deleted entry or menu is drawn
    Amendments m_amendments;       // with --definitions: the amendments applied
    std::vector<std::vector<int>> m_groups;  // each menu's entries' groups, once drawn

    // A heading line where the page's next section starts: before an entry
    // of a group other than the entry's before it.
    void Section(size_t menu, size_t index)
    {
        if (m_groups.empty())
            m_groups.resize(m_model.menus.size());
        std::vector<int>& groups = m_groups[menu];
        if (groups.empty())
            groups = GroupOfEntries(m_model.menus[menu]);
        const int group = groups[index];
        if (group == kNoGroup || (index > 0 && groups[index - 1] == group))
            return;
        m_out += m_prefix + "│ ";
        Styled(sgr::kDim, "┈ " + GroupHeading(m_model.menus[menu], group));
        m_out += '\n';
    }

    void Styled(const char* style, const std::string& text)
    {
        m_out += cli::Styled(m_color, style, text);
    }

    void Suffix(const std::string& text)
    {
        m_out += ' ';
        Styled(sgr::kDim, text);
    }

    void Label(const velkin::Menu& menu, const velkin::Entry& entry, bool opensMenu)
    {
        const Marks marks = MarksOf(menu, entry);
        if (marks.Any()) {
            m_marked = true;
            const char* color = marks.placeholder ? sgr::kRed
                                : marks.amended   ? sgr::kYellow
                                                  : sgr::kGreen;
            Styled(color, MarkText(marks));
            m_out += ' ';
        }
        Styled(opensMenu ? sgr::kBold : "", Printable(entry.id));
        const velkin::ItemEntry* item = menu.DefinitionOf(entry);
        if (item == nullptr)
            return;
        if (std::optional<std::string> name = DisplayName(item->definition))
            m_out += " \"" + Printable(*name) + "\"";
    }

    // "- id (menudelete #N)", struck through in colour, and the line's end.
    void Deleted(const std::string& id, size_t edit)
    {
        m_marked = m_deleted = true;
        Styled(kStruck, std::string(1, kDeletedMark) + ' ' + Printable(id));
        Suffix("(" + EditNote(edit) + ")");
        m_out += '\n';
    }

    // Below an amended entry, what its amendment changed, one member a line.
    void Amended(const velkin::Menu& menu, const velkin::Entry& entry, const std::string& trunk)
    {
        const velkin::ItemEntry* item = menu.DefinitionOf(entry);
        if (m_amendments.empty() || item == nullptr || !item->amended)
            return;
        auto amendment = m_amendments.find(entry.id);
        if (amendment == m_amendments.end())
            return;
        for (const std::string& line : AmendedMembers(item->definition, *amendment->second)) {
            m_out += m_prefix + trunk;
            Styled(sgr::kYellow, line);
            m_out += '\n';
        }
    }

    // The menus "menudelete" removes, each with the strings it listed.
    void DeletedMenus()
    {
        if (m_model.deletedMenus.empty())
            return;
        m_out += m_out.empty() ? "" : "\n";
        Styled(sgr::kBold, kDeletedHeading);
        m_out += '\n';
        for (const velkin::DeletedMenu& menu : m_model.deletedMenus) {
            Deleted(menu.id, menu.edit);
            for (size_t k = 0; k < menu.entries.size(); ++k) {
                m_out += k + 1 == menu.entries.size() ? kLastBranch : kBranch;
                Styled(kStruck, std::string(1, kDeletedMark) + ' ' + Printable(menu.entries[k]));
                m_out += '\n';
            }
        }
    }

    void Legend()
    {
        m_out += '\n';
        m_out += std::string(1, kAddedMark) + ' ' + kAddedMeaning + "   ";
        m_out += std::string(1, kAmendedMark) + ' ' + kAmendedMeaning + "   ";
        m_out += std::string(1, kPlaceholderMark) + ' ' + kPlaceholderMeaning;
        if (m_deleted)
            m_out += std::string("   ") + kDeletedMark + ' ' + kDeletedMeaning;
        m_out += '\n';
    }
};

}  // namespace

std::string RenderText(const velkin::EffectiveMenu& model, bool color, bool definitions)
{
    TextDrawer drawer(model, color, definitions);
    if (model.menus.empty()) {
        const std::string deleted = drawer.Take();
        return std::string(kNoMenu) + "\n" + (deleted.empty() ? "" : "\n" + deleted);
    }
    Walk(model, drawer);
    return drawer.Take();
}

}  // namespace tree
