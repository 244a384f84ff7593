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
    constexpr size_t kShown = 60;
    std::string out = "'";
    for (size_t i = 0; i < id.size() && i < kShown; ++i) {
        const unsigned char c = static_cast<unsigned char>(id[i]);
        if (c < 0x20 || c == 0x7f) {
            AppendHexEscape(out, c);
        } else if (c == '\'' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(c);
        }
    }
    if (id.size() > kShown)
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
