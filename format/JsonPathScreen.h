// A screen for JSONPath expressions that json-glib 1.6 compiles or walks
// unsafely. It follows json_path_compile's own scan of the expression.
#pragma once

namespace velkin {

// Largest array index, slice bound or step json-glib is asked to handle.
inline constexpr long long kMaxIndex = 1 << 20;
// Most element visits the set and slice selectors of one expression may
// multiply up to: json-glib visits every index of a slice, present or not, and
// repeats a set's indexes as often as they are listed.
inline constexpr long long kMaxVisits = 1 << 16;
// A recursive descent walks the whole document once for every node that
// reaches it; after one, selectors may multiply its work by this much at most.
inline constexpr long long kMaxVisitsAfterDescent = 16;

struct ExpressionScreen {
    bool safe = true;      // compiles and matches exactly as json-glib would, safely
    bool indexes = false;  // selects array elements by position
};

// Unsafe: an unterminated "['" (json-glib dereferences a null pointer), a
// truncated selector (it reads past the terminator), a second "$" (it leaks),
// a slice step of zero or less (it never ends, or divides by zero), an index
// beyond kMaxIndex, selectors multiplying past the visit limits, a second "..".
// An expression json-glib refuses to compile is reported safe: compiling it
// is harmless.
ExpressionScreen ScreenExpression(const char* expression);

}  // namespace velkin
