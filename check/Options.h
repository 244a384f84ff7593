// velkin-check's command line: what it asks for and with which options.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "Catalogue.h"
#include "Color.h"
#include "Report.h"

namespace check {


struct Options {
    Format format = Format::Text;
    cli::ColorWhen color = cli::ColorWhen::Auto;
    bool werror = false;
    bool readConfig = true;           // false under --no-config
    bool fix = false;                 // --fix: repair the files in place
    std::vector<RuleId> disabled;     // by --disable
    std::vector<RuleId> selected;     // by --select; empty: every rule
    std::string stdinName;            // --stdin-filename; empty: none
    std::vector<std::string> inputs;  // files, directories, "-" for standard input
};

struct Command {
    enum class Action { Check, Help, Version, ListRules, Explain, Usage };
    Action action = Action::Check;
    Options options;
    const Rule* explained = nullptr;  // for Explain
    std::string problem;              // for Usage: what is wrong, in one line
};

extern const char kUsage[];

// Reads the arguments after the program name. --help, --version,
// --list-rules and --explain end the reading where they stand, as does the
// first usage problem.
Command ParseCommandLine(const std::vector<std::string>& args);

// Appends the rules of a comma-separated list of ids to `out` (blanks around
// an id and empty items are ignored); false with `problem` set at the first
// unknown id.
bool AddRules(std::string_view list, std::vector<RuleId>& out, std::string& problem);

// Which rules report nothing, indexed by RuleId: with a selection those not
// selected, and always the disabled ones.
std::vector<bool> SilencedRules(const std::vector<RuleId>& selected,
                                const std::vector<RuleId>& disabled);

}  // namespace check
