// The findings of one check as the rule families report them: each at a byte
// offset of the text (or at a position already known), handed out in file
// order at the end.
#pragma once

#include <string>
#include <unordered_set>
#include <vector>

#include "Definition.h"
#include "Diagnostic.h"

namespace check {

class Findings {
public:
    explicit Findings(const Definition& definition) : m_definition(definition) {}

    // At byte `offset` of the text; kNoOffset places it at 1:1. A finding at
    // a string (a member name or a string value) is about that identifier.
    void Report(RuleId rule, size_t offset, std::string message,
                std::optional<Fix> fix = std::nullopt);
    // Whether a finding was reported at byte `offset`.
    bool ReportedAt(size_t offset) const { return m_offsets.count(offset) != 0; }
    void ReportAt(RuleId rule, Position position, std::string message)
    {
        m_found.push_back(Diagnostic{rule, position, std::move(message), RuleOf(rule).severity,
                                     std::string(), std::nullopt});
    }
    size_t Count() const { return m_found.size(); }
    // Adds the findings of `other` (of the same text) after these.
    void Take(Findings&& other);
    const Definition& Source() const { return m_definition; }

    // File order: by line, then column; findings at one position keep the
    // order they were reported in.
    std::vector<Diagnostic> Sorted();

private:
    const Definition& m_definition;
    std::vector<Diagnostic> m_found;
    std::unordered_set<size_t> m_offsets;
};

}  // namespace check
