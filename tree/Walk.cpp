#include "Walk.h"

#include <vector>

namespace tree {

namespace {

class Walker {
public:
    Walker(const velkin::EffectiveMenu& model, TreeVisitor& visitor)
        : m_model(model), m_visitor(visitor), m_shown(model.menus.size(), false)
    {
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
            const std::vector<velkin::Entry>& entries = m_model.menus[frame.menu].entries;
            if (frame.next == entries.size()) {
                stack.pop_back();
                if (!stack.empty())
                    m_visitor.LeaveEntry();
                continue;
            }
            ++stack.back().next;
            const velkin::Entry& entry = entries[frame.next];
            const bool last = frame.next + 1 == entries.size();
            const size_t depth = stack.size();
            Reach reach = Reach::Leaf;
            if (entry.opensMenu) {
                const size_t sub = MenuIndex(m_model, entry);
                reach = m_shown[sub] ? Reach::Shown : Reach::Expanded;
                m_shown[sub] = true;
                if (reach == Reach::Expanded)
                    stack.push_back(Frame{sub, 0});
            }
            m_visitor.VisitEntry(frame.menu, frame.next, depth, last, reach);
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
