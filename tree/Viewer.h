// velkin-tree's command line and what it does, apart from the process: main
// hands in the arguments and the terminal facts and writes out the result.
#pragma once

#include <string>
#include <vector>

#include "Color.h"
#include "Scope.h"
#include "Usage.h"

namespace tree {

enum class Format { Text, Json, Dot, Html };
enum class Action { Draw, Diff, Help, Version, Usage };

// Exit statuses: drawn or no difference, differences, usage problem or input
// that cannot be read (as diff(1) has them).
inline constexpr int kSuccess = 0;
inline constexpr int kDiffer = 1;
inline constexpr int kTrouble = cli::kUsageStatus;

struct Options {
    Action action = Action::Draw;
    Format format = Format::Text;
    cli::ColorWhen color = cli::ColorWhen::Auto;
    std::string output;              // empty: standard output
    Scope scope;                     // the part drawn
    bool stat = false;               // --diff: the summary of each menu
    bool noDeleted = false;          // --no-deleted: what "menudelete" removed not shown
    bool definitions = false;        // --definitions: amended members below their entries
    std::vector<std::string> paths;  // one to draw, two to compare
    std::string problem;             // Action::Usage: what is wrong
};

Options ParseArguments(const std::vector<std::string>& args);

struct Result {
    std::string out;  // for standard output or the --output file; empty on trouble
    std::string err;  // lines for standard error
    int status = kSuccess;
};

// Runs the action; `color` as cli::UseColor decided it.
Result Run(const Options& options, bool color);

}  // namespace tree
