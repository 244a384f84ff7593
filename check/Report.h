// Writing diagnostics: compiler-style text lines, GitHub Actions workflow
// commands, or one SARIF 2.1.0 document.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "Check.h"

namespace check {

struct FileReport {
    std::string path;  // as given on the command line or found in a directory
    std::vector<Diagnostic> diagnostics;
    std::string text;           // the definition, to count columns in other units than bytes
    bool unnamedStdin = false;  // standard input without a name: SARIF gives it no URI
};

// A file or directory that could not be read, and why (strerror's words).
struct Unread {
    std::string path;
    std::string reason;
    bool unnamedStdin = false;
};

// The run as a whole, for the SARIF log's tool and invocation.
struct SarifRun {
    const char* version = "";
    const char* informationUri = "";  // absolute
    std::string workingDirectory;     // absolute; relative paths are resolved against it
    std::vector<Unread> unread;
    int exitCode = 0;
};

// "FILE:LINE:COLUMN: error|warning: MESSAGE [RULE]", one a line; with `color`,
// the place bold, the severity as gcc colours it, the rule dim.
void WriteText(std::ostream& out, const FileReport& file, bool color = false);

// "::error file=F,line=L,col=C,title=RULE::MESSAGE" (or ::warning), one a line.
void WriteGithub(std::ostream& out, const FileReport& file);

// One SARIF 2.1.0 log: the tool with every rule, every file's results with
// columns in UTF-16 code units, and the invocation with what could not be read.
void WriteSarif(std::ostream& out, const std::vector<FileReport>& files, const SarifRun& run);

// "error" or "warning".
const char* SeverityName(Severity s);

// A rule's whole help: its summary, a blank line, what the splitter does.
std::string RuleHelp(const Rule& rule);

}  // namespace check
