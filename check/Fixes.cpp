#include "Fixes.h"

#include <glib.h>
#include <glib/gstdio.h>
#include <sys/stat.h>

#include <algorithm>
#include <map>

#include "JsonWriter.h"
#include "Scanner.h"

namespace check {

namespace {

bool Blank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

size_t SkipBlanks(std::string_view text, size_t at)
{
    while (at < text.size() && Blank(text[at]))
        ++at;
    return at;
}

// The bytes [offset, end) of the text, as written.
std::string Shown(std::string_view text, size_t offset, size_t end)
{
    return std::string(text.substr(offset, end - offset));
}

}  // namespace

size_t StringEnd(std::string_view text, size_t offset)
{
    if (offset >= text.size() || text[offset] != '"')
        return kNoOffset;
    for (size_t at = offset + 1; at < text.size(); ++at) {
        if (text[at] == '\\')
            ++at;
        else if (text[at] == '"')
            return at + 1;
    }
    return kNoOffset;
}

std::optional<Fix> RenameFix(std::string_view text, const std::vector<size_t>& offsets,
                             const std::string& to)
{
    Fix fix;
    std::vector<size_t> sorted = offsets;
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    for (size_t offset : sorted) {
        const size_t end = StringEnd(text, offset);
        if (end == kNoOffset)
            return std::nullopt;
        if (fix.title.empty())
            fix.title = "rename " + Shown(text, offset, end) + " to " + cli::JsonQuoted(to);
        fix.edits.push_back(TextEdit{offset, end - offset, cli::JsonQuoted(to)});
    }
    if (fix.edits.empty())
        return std::nullopt;
    return fix;
}

std::optional<Fix> RenameFix(std::string_view text, size_t offset, const std::string& to)
{
    return RenameFix(text, std::vector<size_t>{offset}, to);
}

std::optional<Fix> RemoveElementFix(std::string_view text, size_t offset)
{
    const size_t end = StringEnd(text, offset);
    if (end == kNoOffset)
        return std::nullopt;
    const std::string title = "remove " + Shown(text, offset, end);
    const size_t after = SkipBlanks(text, end);
    if (after < text.size() && text[after] == ',') {
        const size_t next = SkipBlanks(text, after + 1);
        return Fix{title, {TextEdit{offset, next - offset, ""}}};
    }
    if (after >= text.size() || text[after] != ']')
        return std::nullopt;
    size_t before = offset;
    while (before > 0 && Blank(text[before - 1]))
        --before;
    if (before == 0 || text[before - 1] != ',')
        return std::nullopt;  // the only element, or a comment before it
    return Fix{title, {TextEdit{before - 1, end - (before - 1), ""}}};
}

FixedText ApplyFixes(std::string_view text, const std::vector<Diagnostic>& found)
{
    std::vector<const Diagnostic*> order;
    for (const Diagnostic& d : found)
        if (d.fix && !d.fix->edits.empty())
            order.push_back(&d);
    std::stable_sort(order.begin(), order.end(), [](const Diagnostic* a, const Diagnostic* b) {
        return a->fix->edits.front().offset < b->fix->edits.front().offset;
    });
    FixedText out;
    std::map<size_t, const TextEdit*> taken;  // accepted edits by offset
    auto overlaps = [&taken](const TextEdit& e) {
        auto next = taken.lower_bound(e.offset);
        if (next != taken.end() && next->first < e.offset + std::max<size_t>(e.length, 1))
            return true;
        return next != taken.begin() &&
               std::prev(next)->first + std::prev(next)->second->length > e.offset;
    };
    for (const Diagnostic* d : order) {
        const std::vector<TextEdit>& edits = d->fix->edits;
        const bool same = std::any_of(out.applied.begin(), out.applied.end(),
                                      [&](const Diagnostic* a) { return a->fix->edits == edits; });
        if (same)
            continue;
        if (std::any_of(edits.begin(), edits.end(), overlaps)) {
            out.left.push_back(d);
            continue;
        }
        for (const TextEdit& e : edits)
            taken.emplace(e.offset, &e);
        out.applied.push_back(d);
    }
    size_t at = 0;
    for (const auto& [offset, edit] : taken) {
        out.text.append(text.substr(at, offset - at)).append(edit->replacement);
        at = offset + edit->length;
    }
    out.text.append(text.substr(std::min(at, text.size())));
    return out;
}

bool ReplaceFile(const std::string& path, std::string_view text, std::string& reason)
{
    g_autofree gchar* target = realpath(path.c_str(), nullptr);
    GStatBuf st;
    if (target == nullptr || g_stat(target, &st) != 0) {
        reason = g_strerror(errno);
        return false;
    }
    g_autoptr(GError) error = nullptr;
    if (!g_file_set_contents_full(target, text.data(), static_cast<gssize>(text.size()),
                                  G_FILE_SET_CONTENTS_CONSISTENT,
                                  static_cast<int>(st.st_mode & 07777), &error)) {
        reason = error->message;
        return false;
    }
    return true;
}

}  // namespace check
