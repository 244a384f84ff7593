// Project files: the .velkin-check nearest a definition, in its folder or a
// folder above, disables rules for it, as .shellcheckrc does for shellcheck:
//
//     # generated menus list items defined elsewhere
//     disable=missing-definition,no-profile
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "Catalogue.h"

namespace check {

inline constexpr char kConfigName[] = ".velkin-check";

// Reads a project file: "disable=RULE[,RULE...]" lines, blank lines, and
// comments from '#' to the end of the line. False with `problem` set to
// "LINE: what is wrong" at the first line that is not understood.
bool ParseConfig(std::string_view text, std::vector<RuleId>& disabled, std::string& problem);

class ConfigFinder {
public:
    // Relative directories are taken from `workingDirectory` (absolute).
    explicit ConfigFinder(std::string workingDirectory) : m_cwd(std::move(workingDirectory)) {}

    // Appends the rules that the project file nearest `directory` disables
    // (none without one). False with `problem` ("FILE:LINE: ..." or
    // "FILE: reason") when that file is wrong or cannot be read.
    bool Disabled(const std::string& directory, std::vector<RuleId>& disabled,
                  std::string& problem);

private:
    struct File {
        bool ok = false;
        std::vector<RuleId> disabled;
        std::string problem;
    };
    std::string Nearest(const std::string& directory) const;
    const File& Load(const std::string& path);
    std::string Shown(const std::string& path) const;

    std::string m_cwd;
    std::map<std::string, File> m_files;  // by absolute path, each read once
};

}  // namespace check
