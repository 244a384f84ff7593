// What velkin-check reads: definition files, the definitions below a
// directory, and standard input.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "Report.h"

namespace check {

// How reports show standard input read without --stdin-filename.
inline constexpr char kUnnamedStdin[] = "<stdin>";

struct Input {
    std::string path;        // the file, or the name of standard input
    bool fromStdin = false;  // read from standard input
    bool named = true;       // false for standard input without a name
};

// A definition's file name: "menu-*.json".
bool IsDefinitionName(std::string_view name);

// The inputs the arguments name, in order: "-" is standard input (named
// `stdinName` when that is not empty), a directory stands for every
// definition below it, in sorted order, without following links to other
// directories and passing over FIFOs, sockets and devices, and anything else
// is a file. Directories that cannot be read, and directories named in `args`
// with no definition below them, are added to `unread`.
std::vector<Input> ExpandInputs(const std::vector<std::string>& args, const std::string& stdinName,
                                std::vector<Unread>& unread);

// The whole of a file (or of standard input when `path` is null); false with
// strerror's words in `reason`.
bool ReadFile(const char* path, std::string& text, std::string& reason);

}  // namespace check
