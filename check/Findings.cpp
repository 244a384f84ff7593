#include "Findings.h"

#include <algorithm>

namespace check {

std::vector<Diagnostic> Findings::Sorted()
{
    auto before = [](const Diagnostic& a, const Diagnostic& b) {
        const Position& p = a.position;
        const Position& q = b.position;
        return p.line != q.line ? p.line < q.line : p.column < q.column;
    };
    std::stable_sort(m_found.begin(), m_found.end(), before);
    return std::move(m_found);
}

}  // namespace check
