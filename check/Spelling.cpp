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

}  // namespace

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
