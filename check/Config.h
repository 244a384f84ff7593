// Project files: the .velkin-check nearest a definition, in its folder or a
// folder above, sets the level of rules for it (as eslint's per-rule levels)
// and accepts single findings by the identifier they are about:
//
//     # generated menus list items defined elsewhere
//     disable=no-profile
//     error=missing-definition,unused-definition
//     warning=query-too-long
//     ignore=missing-definition:device_usage
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "Catalogue.h"
#include "Diagnostic.h"

namespace check {

inline constexpr char kConfigName[] = ".velkin-check";

// A rule's level: as the catalogue has it, off, or the severity set.
enum class Level { Default, Off, Warning, Error };

struct Settings {
    std::vector<Level> levels = std::vector<Level>(Rules().size(), Level::Default);  // by RuleId
    std::vector<std::pair<RuleId, std::string>> ignored;  // rule and identifier accepted

    void Set(RuleId rule, Level level) { levels[static_cast<size_t>(rule)] = level; }
    Level Of(RuleId rule) const { return levels[static_cast<size_t>(rule)]; }
    // The severity a rule reports with; for a rule that is off, its own.
    Severity SeverityOf(RuleId rule) const;
    // Drops the findings of rules that are off and those accepted by an
    // ignore line, and gives the others the level in force.
    void Apply(std::vector<Diagnostic>& found) const;
};

// "off", "error" or "warning": the level in force of a rule.
const char* LevelName(const Settings& settings, RuleId rule);

// Reads a project file into `settings`: "disable=RULE,...", "error=RULE,...",
// "warning=RULE,..." (a later line overrides an earlier one for a rule),
// "ignore=RULE:IDENTIFIER" (the identifier as written, or as a JSON string in
// double quotes), blank lines, and comments from '#' to the end of the line.
// False with `problem` set to "LINE: what is wrong" at the first line that is
// not understood.
bool ParseConfig(std::string_view text, Settings& settings, std::string& problem);

class ConfigFinder {
public:
    // Relative directories are taken from `workingDirectory` (absolute).
    explicit ConfigFinder(std::string workingDirectory) : m_cwd(std::move(workingDirectory)) {}

    // The settings of the project file nearest `directory` (the defaults
    // without one). False with `problem` ("FILE:LINE: ..." or "FILE: reason")
    // when that file is wrong or cannot be read.
    bool Find(const std::string& directory, Settings& settings, std::string& problem);
    // The path of the project file nearest `directory`; empty if none.
    std::string Nearest(const std::string& directory) const;

private:
    struct File {
        bool ok = false;
        Settings settings;
        std::string problem;
    };
    const File& Load(const std::string& path);
    std::string Shown(const std::string& path) const;

    std::string m_cwd;
    std::map<std::string, File> m_files;  // by absolute path, each read once
};

}  // namespace check
