// Writing diagnostics: compiler-style text lines or one SARIF 2.1.0 document.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "Check.h"

namespace check {

struct FileReport {
    std::string path;  // as given on the command line
    std::vector<Diagnostic> diagnostics;
};

// "FILE:LINE:COLUMN: error|warning: MESSAGE [RULE]", one a line.
void WriteText(std::ostream& out, const FileReport& file);

// One SARIF 2.1.0 log: the tool with every rule, then every file's results.
void WriteSarif(std::ostream& out, const std::vector<FileReport>& files, const char* version);

}  // namespace check
