// A definition's findings as the protocol's diagnostics: the checker run on
// the open text, with the rules its project file disables left out.
#pragma once

#include <json-glib/json-glib.h>

#include <string>
#include <vector>

#include "Workspace.h"

namespace lsp {

inline constexpr char kSource[] = "velkin-check";

// The parameters of textDocument/publishDiagnostics for `document` (checked
// when it is a definition; none for another file).
JsonNode* PublishParams(Document& document, Encoding encoding);
// The findings of a definition's current text, with its project file
// applied, checked once per text; the project file's problem, if any, in
// `problem`.
const std::vector<check::Diagnostic>& Findings(Document& document, std::string* problem = nullptr);
// Where a finding stands: the token at its position.
Range FindingRange(const Document& document, const check::Diagnostic& found, Encoding encoding);

// The parameters that clear a document's diagnostics.
JsonNode* ClearParams(const std::string& uri);

// JSON of a range, and of a location in a document.
JsonNode* RangeNode(const Range& range);
JsonNode* LocationNode(const std::string& uri, const Range& range);

}  // namespace lsp
