// Writing diagnostics, one format a file behind one interface: compiler-style
// text lines (TextReport.cpp), GitHub Actions workflow commands
// (GithubReport.cpp), one SARIF 2.1.0 document (SarifReport.cpp).
#pragma once

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "Diagnostic.h"

namespace check {

enum class Format { Text, Github, Sarif };

// "text", "github" or "sarif"; nothing for another name.
std::optional<Format> ParseFormat(std::string_view name);

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
struct RunSummary {
    const char* version = "";
    const char* informationUri = "";  // absolute
    std::string workingDirectory;     // absolute; relative paths are resolved against it
    std::vector<Unread> unread;
    int exitCode = 0;
};

class Reporter {
public:
    virtual ~Reporter() = default;
    // One file's findings, in the order the files are checked.
    virtual void Add(FileReport file) = 0;
    // The end of the run, after the last file.
    virtual void Finish(const RunSummary& run) = 0;
};

// The reporter of `format`, writing to `out`; `color` matters to text only.
std::unique_ptr<Reporter> MakeReporter(Format format, std::ostream& out, bool color = false);

// "FILE:LINE:COLUMN: error|warning: MESSAGE [RULE]", one a line, as each file
// comes; with `color`, the place bold, the severity as gcc colours it, the rule dim.
std::unique_ptr<Reporter> MakeTextReporter(std::ostream& out, bool color);
// "::error file=F,line=L,col=C,title=RULE::MESSAGE" (or ::warning), one a line.
std::unique_ptr<Reporter> MakeGithubReporter(std::ostream& out);
// One SARIF 2.1.0 log at the end: the tool with every rule, every file's
// results with columns in UTF-16 code units, and the invocation with what
// could not be read.
std::unique_ptr<Reporter> MakeSarifReporter(std::ostream& out);

// "error" or "warning".
const char* SeverityName(Severity s);

// A rule's whole help: its summary, a blank line, what the splitter does.
std::string RuleHelp(const Rule& rule);

}  // namespace check
