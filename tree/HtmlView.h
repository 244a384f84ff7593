// The effective menu as one self-contained HTML page: a collapsible tree of
// native <details> elements (usable without script), display names, marks
// with their legend, and a search box whose small inline script hides the
// entries that do not match. A search given in the address as "#q=TEXT" is
// applied when the page opens. The page loads nothing: its policy forbids
// every fetch.
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
