// Sizes of the buffers JSONPath expressions are formatted into, terminator
// included. A longer expression is cut at the buffer's end, so an identifier
// too long for its buffer is looked up by its first bytes only.
#pragma once

#include <cstddef>

// The driver's "$.menutree.<menu>" and "$.menuitems.<item>".
inline constexpr size_t kDriverQuerySize = 1024;
// The lookups of added items, amendments and added-item lists:
// "$.menuitems.<id>", "$.menumodifyinfo.<id>", "$.menuaddinfo.<menu>.list".
inline constexpr size_t kLookupQuerySize = 2048;
// The group lookup: "$.menutree.<menu>.group[<i>].indent-level" and ".group-items".
inline constexpr size_t kGroupQuerySize = 1024;
