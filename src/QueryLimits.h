// Sizes of the buffers the splitter formats its JSONPath expressions into.
// snprintf cuts a longer expression, terminator included, at the buffer's end.
#pragma once

#include <cstddef>

// "$.menutree.<menu>" and "$.menuitems.<item>" of the separation walk.
inline constexpr size_t kDriverQuerySize = 1024;

// "$.menuitems.<id>" of an added item, "$.menumodifyinfo.<id>" and
// "$.menuaddinfo.<menu>.list".
inline constexpr size_t kLookupQuerySize = 2048;
