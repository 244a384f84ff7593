#include "Spelling.h"

#include <glib.h>

#include <algorithm>
#include <array>
#include <vector>

namespace check {

namespace {

// The characters of a name; bytes that are not UTF-8 count one each.
std::u32string Characters(std::string_view s)
{
    std::u32string out;
    for (size_t i = 0; i < s.size();) {
        const gunichar c =
            g_utf8_get_char_validated(s.data() + i, static_cast<gssize>(s.size() - i));
        if (c == static_cast<gunichar>(-1) || c == static_cast<gunichar>(-2)) {
            out += static_cast<char32_t>(0xDC00 + static_cast<unsigned char>(s[i]));
            ++i;
        } else {
            out += static_cast<char32_t>(c);
            i += static_cast<size_t>(g_utf8_skip[static_cast<unsigned char>(s[i])]);
        }
    }
    return out;
}

bool CaseEqual(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return g_ascii_tolower(x) == g_ascii_tolower(y);
           });
}

// Cyrillic and Greek letters drawn like a Latin letter, and that letter.
constexpr std::pair<char32_t, char> kLookAlikes[] = {
    {0x0410, 'A'}, {0x0412, 'B'}, {0x0415, 'E'}, {0x041A, 'K'}, {0x041C, 'M'}, {0x041D, 'H'},
    {0x041E, 'O'}, {0x0420, 'P'}, {0x0421, 'C'}, {0x0422, 'T'}, {0x0423, 'Y'}, {0x0425, 'X'},
    {0x0406, 'I'}, {0x0408, 'J'}, {0x0405, 'S'}, {0x0430, 'a'}, {0x0435, 'e'}, {0x043E, 'o'},
    {0x0440, 'p'}, {0x0441, 'c'}, {0x0443, 'y'}, {0x0445, 'x'}, {0x0456, 'i'}, {0x0458, 'j'},
    {0x0455, 's'}, {0x0501, 'd'}, {0x04BB, 'h'}, {0x04CF, 'l'}, {0x0391, 'A'}, {0x0392, 'B'},
    {0x0395, 'E'}, {0x0396, 'Z'}, {0x0397, 'H'}, {0x0399, 'I'}, {0x039A, 'K'}, {0x039C, 'M'},
    {0x039D, 'N'}, {0x039F, 'O'}, {0x03A1, 'P'}, {0x03A4, 'T'}, {0x03A5, 'Y'}, {0x03A7, 'X'},
    {0x03BF, 'o'}, {0x03BD, 'v'}, {0x03B9, 'i'},
};

}  // namespace

std::string Skeleton(std::string_view name)
{
    std::string out;
    for (char32_t c : Characters(name)) {
        const gunichar u = static_cast<gunichar>(c);
        if (c < 0x80) {
            if (c != ' ')
                out += static_cast<char>(g_ascii_tolower(static_cast<char>(c)));
            continue;
        }
        const auto* alike = std::find_if(std::begin(kLookAlikes), std::end(kLookAlikes),
                                         [c](const auto& pair) { return pair.first == c; });
        if (alike != std::end(kLookAlikes)) {
            out += static_cast<char>(g_ascii_tolower(alike->second));
        } else if (g_unichar_isgraph(u)) {
            char utf8[6];
            out.append(utf8, static_cast<size_t>(g_unichar_to_utf8(g_unichar_tolower(u), utf8)));
        }
    }
    return out;
}

// Optimal string alignment distance on a band of two cells either side of
// the diagonal: any distance above two is reported as three.
int EditsUpToTwo(std::string_view a8, std::string_view b8)
{
    const std::u32string a = Characters(a8);
    const std::u32string b = Characters(b8);
    const size_t n = a.size();
    const size_t m = b.size();
    if ((n > m ? n - m : m - n) > 2)
        return 3;
    constexpr int kFar = 3;
    // Rows i-2, i-1 and i of the distance table, indexed by column j.
    std::array<std::vector<int>, 3> rows;
    for (auto& row : rows)
        row.assign(m + 1, kFar);
    for (size_t j = 0; j <= std::min<size_t>(m, 2); ++j)
        rows[0][j] = static_cast<int>(j);
    for (size_t i = 1; i <= n; ++i) {
        std::vector<int>& row = rows[i % 3];
        const std::vector<int>& up = rows[(i + 2) % 3];
        const std::vector<int>& up2 = rows[(i + 1) % 3];
        std::fill(row.begin(), row.end(), kFar);
        if (i <= 2)
            row[0] = static_cast<int>(i);
        const size_t from = i > 2 ? i - 2 : 1;
        const size_t to = std::min(m, i + 2);
        int best = row[0];
        for (size_t j = from; j <= to; ++j) {
            int d = std::min({up[j] + 1, row[j - 1] + 1, up[j - 1] + (a[i - 1] != b[j - 1])});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d = std::min(d, up2[j - 2] + 1);
            row[j] = std::min(d, kFar);
            best = std::min(best, row[j]);
        }
        if (best >= kFar)
            return kFar;
    }
    return rows[n % 3][m];
}

bool Close(std::string_view a, std::string_view b)
{
    if (a == b)
        return false;
    if (CaseEqual(a, b))
        return true;
    // Two edits change at most eight bytes of UTF-8.
    if (a.size() > b.size() + 8 || b.size() > a.size() + 8)
        return false;
    const size_t shorter = std::min(Characters(a).size(), Characters(b).size());
    const int edits = EditsUpToTwo(a, b);
    return edits <= 2 && static_cast<size_t>(edits) < shorter;
}

}  // namespace check
