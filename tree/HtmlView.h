// The effective menu as one self-contained HTML page: the menus, their
// entries, display names, marks and definitions as data blocks, drawn by the
// page's own script (tree/page/) as a collapsible tree rendered as it opens,
// with expand and collapse all, a filter per mark with its count, and a
// search over identifiers, display names, marks and definitions whose state
// the address keeps ("#q=TEXT&f=added,amended"). The page loads nothing: its
// policy forbids every fetch.
#pragma once

#include <string>
#include <string_view>

#include "EffectiveMenu.h"

namespace tree {

// `title`: what the page is of (the definition's or directory's path).
std::string RenderHtml(const velkin::EffectiveMenu& model, std::string_view title);

// `text` as HTML text or attribute value (in double quotes).
std::string HtmlEscaped(std::string_view text);

}  // namespace tree
