#include "Walk.h"

#include <vector>

#include "Deletions.h"

namespace tree {

namespace {

class Walker {
public:
    Walker(const velkin::EffectiveMenu& model, TreeVisitor& visitor)
        : m_model(model), m_visitor(visitor), m_shown(model.menus.size(), false)
    {
        if (model.deletedEntries.empty())
            return;
        const std::vector<std::vector<DeletedPlace>> places = DeletedPlaces(model);
        m_rows.resize(model.menus.size());
        for (size_t m = 0; m < places.size(); ++m)
            if (!places[m].empty())
                m_rows[m] = RowsOf(model.menus[m], places[m]);
    }

    void Run()
    {
        for (size_t top : m_model.top)
            Root(top);
        if (m_model.unreachable.empty())
            return;
        m_visitor.BeginUnreachable();
        for (size_t menu : m_model.unreachable)
            if (!m_shown[menu])
                Root(menu);
    }

private:
    struct Frame {
        size_t menu;
        size_t next;  // the next entry to visit
    };
    const velkin::EffectiveMenu& m_model;
    TreeVisitor& m_visitor;
    std::vector<bool> m_shown;
    // The rows of the menus with deleted entries (none for the others).
    std::vector<std::vector<Row>> m_rows;

    size_t RowCount(size_t menu) const
    {
        return menu < m_rows.size() && !m_rows[menu].empty() ? m_rows[menu].size()
                                                             : m_model.menus[menu].entries.size();
    }
    Row RowAt(size_t menu, size_t k) const
    {
        return menu < m_rows.size() && !m_rows[menu].empty() ? m_rows[menu][k] : Row{false, k};
    }

    void Root(size_t root)
    {
        const bool shown = m_shown[root];
        m_visitor.BeginRoot(root, shown);
        if (!shown) {
            m_shown[root] = true;
            Entries(root);
        }
        m_visitor.EndRoot();
    }

    void Entries(size_t root)
    {
        std::vector<Frame> stack{{root, 0}};
        while (!stack.empty()) {
            const Frame frame = stack.back();
            const size_t rows = RowCount(frame.menu);
            if (frame.next == rows) {
                stack.pop_back();
                if (!stack.empty())
                    m_visitor.LeaveEntry();
                continue;
            }
            ++stack.back().next;
            const Row row = RowAt(frame.menu, frame.next);
            const bool last = frame.next + 1 == rows;
            const size_t depth = stack.size();
            if (row.deleted) {
                m_visitor.VisitDeleted(frame.menu, row.index, depth, last);
                continue;
            }
            const velkin::Entry& entry = m_model.menus[frame.menu].entries[row.index];
            Reach reach = Reach::Leaf;
            if (entry.opensMenu) {
                const size_t sub = MenuIndex(m_model, entry);
                reach = m_shown[sub] ? Reach::Shown : Reach::Expanded;
                m_shown[sub] = true;
                if (reach == Reach::Expanded)
                    stack.push_back(Frame{sub, 0});
            }
            m_visitor.VisitEntry(frame.menu, row.index, depth, last, reach);
        }
    }
};

}  // namespace

size_t MenuIndex(const velkin::EffectiveMenu& model, const velkin::Entry& entry)
{
    return static_cast<size_t>(model.Find(entry.id) - model.menus.data());
}

void Walk(const velkin::EffectiveMenu& model, TreeVisitor& visitor)
{
    Walker(model, visitor).Run();
}

}  // namespace tree
