#include "Decisions.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "Facts.h"
#include "Fragments.h"
#include "Identifiers.h"

namespace velkin {

namespace {

// An expression of `length` bytes does not fit a buffer of `size` bytes,
// which also holds the terminator.
bool IsCut(size_t length, size_t size)
{
    return length >= size;
}

}  // namespace

bool GroupsAreRead(size_t n)
{
    return n <= static_cast<size_t>(kMaxGroups);
}

FormattedQuery FormatQuery(size_t size, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    FormattedQuery query;
    if (length < 0 || size == 0) {
        va_end(again);
        return query;
    }
    query.cut = IsCut(static_cast<size_t>(length), size);
    // The buffer the splitter formats into, as long as what it keeps.
    std::string buffer(query.cut ? size - 1 : static_cast<size_t>(length), '\0');
    std::vsnprintf(buffer.data(), buffer.size() + 1, format, again);
    va_end(again);
    query.text = std::move(buffer);
    return query;
}

bool QueryIsCut(size_t size, const char* format, std::string_view id)
{
    return IsCut(std::strlen(format) - std::strlen("%s") + id.size(), size);
}

bool QueryFindsMember(size_t size, const char* format, std::string_view id)
{
    return PlainForJsonPath(id) && !QueryIsCut(size, format, id);
}

size_t LongestUncutIdentifier(size_t size, const char* format)
{
    const size_t fixed = FormatQuery(size, format, "").text.size();
    size_t longest = size;
    while (longest > 0 && IsCut(fixed + longest, size))
        --longest;
    return longest;
}

OpenedNode JoinRebuiltNode(std::string_view submenuItems, std::string_view group)
{
    OpenedNode node;
    node.text = "{";
    node.text += submenuItems;
    if (!submenuItems.empty() && !group.empty())
        node.text += ',';
    node.text += group;
    node.hasMember = NodeHoldsMember(node.text);
    return node;
}

OpenedNode CopiedNode(const char* match)
{
    OpenedNode node;
    node.text = std::string(OpenNode(UnwrapMatch(match)));
    node.hasMember = NodeHoldsMember(node.text);
    return node;
}

bool NodeHoldsMember(std::string_view open)
{
    return open.size() > 1;
}

bool IsAmended(bool inModifyList, bool amendmentFound, std::string_view definition)
{
    return inModifyList && amendmentFound && !definition.empty() && definition[0] == '{';
}

}  // namespace velkin
