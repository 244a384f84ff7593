#include "Findings.h"

#include <algorithm>
#include <iterator>

#include "Fixes.h"
#include "JsonLexer.h"

namespace check {

namespace {

// The decoded string whose opening quote is at `offset`; empty if none is there.
std::string StringAt(std::string_view text, size_t offset)
{
    const size_t end = StringEnd(text, offset);
    if (end == kNoOffset)
        return std::string();
    // Only the string itself is lexed: the lexer validates all it is given.
    velkin::JsonLexer lexer(text.substr(offset, end - offset), velkin::JsonDialect::Commented);
    if (lexer.Next().kind != velkin::JsonToken::Kind::String)
        return std::string();
    return velkin::DecodeString(text.substr(offset + 1, end - offset - 2));
}

}  // namespace

void Findings::Report(RuleId rule, size_t offset, std::string message, std::optional<Fix> fix)
{
    m_found.push_back(Diagnostic{rule, m_definition.At(offset), std::move(message),
                                 RuleOf(rule).severity, StringAt(m_definition.Text(), offset),
                                 std::move(fix)});
    m_offsets.insert(offset);
}

void Findings::Take(Findings&& other)
{
    std::move(other.m_found.begin(), other.m_found.end(), std::back_inserter(m_found));
    m_offsets.insert(other.m_offsets.begin(), other.m_offsets.end());
}

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
