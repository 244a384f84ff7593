// Nesting depth of a definition, counted the way json-glib's scanner reads it,
// so that a definition too deep to parse safely is refused before parsing.
#pragma once

#include <cstddef>
#include <string_view>

#include "Facts.h"

namespace velkin {

inline constexpr size_t kNotTooDeep = static_cast<size_t>(-1);

// Offset of the bracket that opens level kMaxNesting + 1, or kNotTooDeep.
// The brackets are those the lexer's Skim dialect finds: none inside strings
// ("..." with backslash escapes, '...' without) or comments (from one '/' to
// the next), none after a NUL byte, as json-glib reads them.
size_t FindTooDeep(std::string_view text);

inline bool NestsTooDeep(std::string_view text)
{
    return FindTooDeep(text) != kNotTooDeep;
}

}  // namespace velkin
