// velkin-tree's command line and what it does, apart from the process: main
// hands in the arguments and the terminal facts and writes out the result.
#pragma once

#include <string>
#include <vector>

namespace tree {

enum class Format { Text, Json, Dot, Html };
enum class ColorMode { Auto, Always, Never };
enum class Action { Draw, Diff, Help, Version, Usage };

// Exit statuses: drawn or no difference, differences, usage problem or input
// that cannot be read (as diff(1) has them).
inline constexpr int kSuccess = 0;
inline constexpr int kDiffer = 1;
inline constexpr int kTrouble = 2;

struct Options {
    Action action = Action::Draw;
    Format format = Format::Text;
    ColorMode color = ColorMode::Auto;
    std::string output;              // empty: standard output
    std::vector<std::string> paths;  // one to draw, two to compare
    std::string problem;             // Action::Usage: what is wrong
};

Options ParseArguments(const std::vector<std::string>& args);

// Whether text output is coloured: "always", "never", or "auto" on a terminal
// unless NO_COLOR is set (to anything but "") or TERM is "dumb".
bool UseColor(ColorMode mode, bool terminal, const char* noColor, const char* term);

struct Result {
    std::string out;  // for standard output or the --output file; empty on trouble
    std::string err;  // lines for standard error
    int status = kSuccess;
};

// Runs the action; `color` as UseColor decided it.
Result Run(const Options& options, bool color);

}  // namespace tree
