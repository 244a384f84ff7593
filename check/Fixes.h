// Repairs that findings carry, as edits of the text: made where a rule finds
// one certain repair, and applied by velkin-check --fix and the language
// server's quick fixes.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Diagnostic.h"

namespace check {

// One past the closing quote of the string whose opening quote is at
// `offset`; kNoOffset when no string starts there or it is never closed.
size_t StringEnd(std::string_view text, size_t offset);

// The string (a member name or a value) at `offset` replaced by `to`.
std::optional<Fix> RenameFix(std::string_view text, size_t offset, const std::string& to);
// The same string renamed at every offset of `offsets`.
std::optional<Fix> RenameFix(std::string_view text, const std::vector<size_t>& offsets,
                             const std::string& to);
// The string element of an array at `offset` removed with one comma beside
// it: the one after it and the blanks up to the next element, or, for the
// last element, the one before it and the blanks after that comma. None
// when a comment lies in the way.
std::optional<Fix> RemoveElementFix(std::string_view text, size_t offset);

// What applying the fixes of findings to a text gives; it points into the
// findings applied.
struct FixedText {
    std::string text;
    std::vector<const Diagnostic*> applied;  // in text order
    std::vector<const Diagnostic*> left;     // their edits overlap one applied
};

// Applies the fixes of `found` that do not overlap an earlier one (in text
// order); a fix that several findings carry (the same edits) is applied once,
// under the first of them.
FixedText ApplyFixes(std::string_view text, const std::vector<Diagnostic>& found);

// Replaces the file at `path` (a link: its target) with `text`, keeping its
// mode: a temporary file in the same directory, renamed over it, so the file
// is either the old one or the new one, never a part. False with the reason.
bool ReplaceFile(const std::string& path, std::string_view text, std::string& reason);

}  // namespace check
