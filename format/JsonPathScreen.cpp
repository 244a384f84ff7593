#include "JsonPathScreen.h"

#include <cstdlib>
#include <cstring>

namespace velkin {

namespace {

enum class Verdict {
    Next,          // the selector is safe; scan on after it
    CompileError,  // json-glib stops compiling here: what was seen decides
    Unsafe,
};

// Reads a number as json-glib does (g_ascii_strtoll), refusing one outside
// +-kMaxIndex so that no later arithmetic can overflow.
bool ReadNumber(char*& e, long long& value)
{
    value = std::strtoll(e, &e, 10);
    return value >= -kMaxIndex && value <= kMaxIndex;
}

// Reads an optional '-' and a number, as json-glib reads slice ends and steps;
// with `skipOne`, one more byte after the sign is passed over unread, as
// json-glib does for the step of a slice with a start.
bool ReadSigned(char*& e, long long& value, bool skipOne = false)
{
    long long sign = 1;
    if (*e == '-') {
        sign = -1;
        e += 1;
    }
    if (skipOne) {
        if (*e == '\0')
            return false;  // json-glib would read past the terminator
        e += 1;
    }
    if (!ReadNumber(e, value))
        return false;
    value *= sign;
    return true;
}

class Screener {
public:
    explicit Screener(const char* expression) : m_p(expression) {}
    ExpressionScreen Run();

private:
    Verdict Step();
    Verdict Root();
    Verdict Dot();
    Verdict Bracket();
    Verdict QuotedMember();
    Verdict PositionSelector();
    Verdict SliceWithoutStart(char*& e, long long sign);
    Verdict IndexSet(char*& e);
    Verdict Slice(char*& e, long long start);
    bool Select(long long count);

    const char* m_p;
    ExpressionScreen m_screen;
    bool m_root = false;
    int m_descents = 0;
    long long m_visits = 1;
};

ExpressionScreen Screener::Run()
{
    for (; *m_p != '\0'; ++m_p) {
        switch (Step()) {
        case Verdict::Next: break;
        case Verdict::CompileError: return m_screen;
        case Verdict::Unsafe: return ExpressionScreen{false, false};
        }
    }
    return m_screen;
}

Verdict Screener::Step()
{
    if (*m_p == '$')
        return Root();
    if (*m_p == '.')
        return Dot();
    if (*m_p == '[')
        return Bracket();
    return m_root ? Verdict::Next : Verdict::CompileError;  // invalid first character
}

Verdict Screener::Root()
{
    if (m_root)
        return Verdict::Unsafe;
    if (!(m_p[1] == '.' || m_p[1] == '[' || m_p[1] == '\0'))
        return Verdict::CompileError;
    m_root = true;
    return Verdict::Next;
}

Verdict Screener::Dot()
{
    if (m_p[1] == '.') {
        // Recursive descent; the next '.' is scanned on its own.
        if (++m_descents > 1 || m_visits > kMaxVisitsAfterDescent)
            return Verdict::Unsafe;
    } else if (m_p[1] == '*') {
        m_p += 1;
    } else {
        const char* e = m_p + 1;
        while (!(*e == '.' || *e == '[' || *e == '\0'))
            e += 1;
        if (e == m_p + 1)
            return Verdict::CompileError;
        m_p = e - 1;
    }
    return Verdict::Next;
}

Verdict Screener::Bracket()
{
    if (m_p[1] == '\'')
        return QuotedMember();
    if (m_p[1] == '*' && m_p[2] == ']') {
        m_p += 1;
        m_screen.indexes = true;
        return Verdict::Next;
    }
    return PositionSelector();
}

Verdict Screener::QuotedMember()
{
    if (m_p[2] == '*' && m_p[3] == '\'' && m_p[4] == ']') {
        m_p += 4;
        return Verdict::Next;
    }
    const char* e = std::strchr(m_p + 2, '\'');
    if (e == nullptr || e[1] == '\0')
        return Verdict::Unsafe;
    m_p = e + 1;
    return Verdict::Next;
}

// [n], [a,b,...], [a:b(:s)] or [:b(:s)]
Verdict Screener::PositionSelector()
{
    char* e = const_cast<char*>(m_p + 1);
    long long sign = 1;
    if (*e == '-') {
        sign = -1;
        e += 1;
    }
    Verdict verdict;
    long long start = 0;
    if (*e == ':')
        verdict = SliceWithoutStart(e, sign);
    else if (!ReadNumber(e, start))
        return Verdict::Unsafe;
    else if (*e == ',')
        verdict = IndexSet(e);
    else if (*e == ':')
        verdict = Slice(e, start * sign);
    else if (*e == ']')
        verdict = (m_screen.indexes = true, Verdict::Next);
    else
        return Verdict::CompileError;
    if (verdict == Verdict::Next)
        m_p = e;
    return verdict;
}

// [:end] or [:end:step]; json-glib applies a leading '-' to the end.
Verdict Screener::SliceWithoutStart(char*& e, long long sign)
{
    e += 1;
    long long end = 0;
    long long step = 1;
    if (!ReadNumber(e, end))
        return Verdict::Unsafe;
    end *= sign;
    if (*e == ':') {
        e += 1;
        if (!ReadSigned(e, step))
            return Verdict::Unsafe;
        if (*e != ']')
            return Verdict::CompileError;
    }
    if (*e == '\0' || step <= 0 || !Select((end + step - 1) / step))
        return Verdict::Unsafe;
    return Verdict::Next;
}

// [a,b,...]: json-glib visits each listed index, repeats included.
Verdict Screener::IndexSet(char*& e)
{
    long long count = 1;
    while (*e != ']') {
        e += 1;
        if (*e == '-')
            e += 1;
        long long index;
        if (!ReadNumber(e, index))
            return Verdict::Unsafe;
        if (!(*e == ',' || *e == ']'))
            return Verdict::CompileError;
        count += 1;
    }
    return Select(count) ? Verdict::Next : Verdict::Unsafe;
}

// [start:end] or [start:end:step]
Verdict Screener::Slice(char*& e, long long start)
{
    e += 1;
    long long end = 0;
    long long step = 1;
    if (!ReadSigned(e, end))
        return Verdict::Unsafe;
    if (*e == ':') {
        e += 1;
        if (!ReadSigned(e, step, true))
            return Verdict::Unsafe;
    }
    if (*e != ']')
        return Verdict::CompileError;
    if (step <= 0 || !Select((end - start + step - 1) / step))
        return Verdict::Unsafe;
    return Verdict::Next;
}

// Counts a selector of `count` visits per node it is applied to.
bool Screener::Select(long long count)
{
    m_screen.indexes = true;
    m_visits *= count < 1 ? 1 : count;
    const long long limit = m_descents > 0 ? kMaxVisitsAfterDescent : kMaxVisits;
    return m_visits <= limit;
}

}  // namespace

ExpressionScreen ScreenExpression(const char* expression)
{
    return Screener(expression).Run();
}

}  // namespace velkin
