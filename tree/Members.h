// What changed in a definition, member by member: between two definitions
// (--diff), and what an amendment did to the definition it was written into.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "EffectiveMenu.h"

namespace tree {

// "name: old → new", "+ name: value", "- name: value": what changed from
// `before` to `after`, the last of repeated members counting, as a reader
// keeps; empty when either text is not an object or only the layout of its
// members changed.
std::vector<std::string> MemberChanges(const std::optional<std::string>& before,
                                       const std::optional<std::string>& after);

// The applied amendments by item.
using Amendments = std::unordered_map<std::string_view, const velkin::Amendment*>;
Amendments AppliedAmendments(const velkin::EffectiveMenu& model);

// What `amendment` changed in `definition`, the amended text written: each of
// its members with the value the definition held before it ("max: 50 → 100")
// or, for a new member, "+ name: value".
std::vector<std::string> AmendedMembers(std::string_view definition,
                                        const velkin::Amendment& amendment);

}  // namespace tree
