// Names that are most likely one another misspelt: equal but for case, or at
// most two edits apart (an edit: a character added, dropped, changed, or two
// neighbours swapped), and fewer edits than the shorter name has characters.
#pragma once

#include <string>
#include <string_view>
#include <iterator>

namespace check {

bool Close(std::string_view a, std::string_view b);

// What a reader sees of a name: letters of another script that look like
// Latin ones taken as those, case folded, invisible characters and spaces
// left out. Names with one skeleton cannot be told apart on screen.
std::string Skeleton(std::string_view name);

// Edits between `a` and `b`, counted in characters; any count above 2 is 3.
int EditsUpToTwo(std::string_view a, std::string_view b);

// The first of `candidates` closest to `name` (fewest edits); null if none is close.
template <typename Range>
auto Closest(std::string_view name, const Range& candidates) -> decltype(&*std::begin(candidates))
{
    decltype(&*std::begin(candidates)) best = nullptr;
    int fewest = 3;
    for (const auto& candidate : candidates) {
        if (!Close(name, candidate))
            continue;
        const int edits = EditsUpToTwo(name, candidate);
        if (best == nullptr || edits < fewest) {
            best = &candidate;
            fewest = edits;
        }
    }
    return best;
}

}  // namespace check
