#include "Identifiers.h"

#include <glib.h>

#include <algorithm>
#include <cstdio>

namespace velkin {

bool NeedsEscape(std::string_view id)
{
    return std::any_of(id.begin(), id.end(), [](char c) {
        return c == '"' || c == '\\' || static_cast<unsigned char>(c) < 0x20;
    });
}

bool WrittenAsJson(std::string_view id)
{
    return !NeedsEscape(id) && g_utf8_validate(id.data(), static_cast<gssize>(id.size()), nullptr);
}

bool PlainForJsonPath(std::string_view id)
{
    return !id.empty() && id.front() != '*' && id.find_first_of(".[") == std::string_view::npos;
}

void AppendHexEscape(std::string& out, unsigned char c)
{
    char escape[8];
    std::snprintf(escape, sizeof escape, "\\x%02x", c);
    out += escape;
}

std::string Show(std::string_view id)
{
    constexpr size_t kShown = 60;  // bytes of the identifier, cut between characters
    std::string out = "'";
    size_t i = 0;
    while (i < id.size()) {
        const unsigned char c = static_cast<unsigned char>(id[i]);
        bool utf8 = c < 0x80;
        if (!utf8) {
            const gunichar u =
                g_utf8_get_char_validated(id.data() + i, static_cast<gssize>(id.size() - i));
            utf8 = u != static_cast<gunichar>(-1) && u != static_cast<gunichar>(-2);
        }
        const size_t n = utf8 ? static_cast<size_t>(g_utf8_skip[c]) : 1;
        if (i + n > kShown)
            break;
        if (c < 0x20 || c == 0x7f || !utf8) {
            AppendHexEscape(out, c);
        } else if (c >= 0x80 && !g_unichar_isgraph(g_utf8_get_char(id.data() + i))) {
            // Invisible characters and spaces other than ' ' would print as nothing or
            // as a space: two names differing by them must not print the same.
            char escape[12];
            std::snprintf(escape, sizeof escape, "\\u%04x",
                          static_cast<unsigned>(g_utf8_get_char(id.data() + i)));
            out += escape;
        } else {
            if (c == '\'' || c == '\\')
                out += '\\';
            out.append(id, i, n);
        }
        i += n;
    }
    if (i < id.size())
        out += "...";
    return out + "'";
}

std::string OneLine(std::string_view text)
{
    std::string out;
    for (char ch : text) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c < 0x20)
            AppendHexEscape(out, c);
        else
            out += ch;
    }
    return out;
}

}  // namespace velkin
