#include "Options.h"

#include <algorithm>

namespace check {

const char kUsage[] =
    "Usage: velkin-check [OPTION]... FILE|DIRECTORY|-...\n"
    "Checks menu definitions for what velkin-tool silently tolerates. A directory\n"
    "stands for every menu-*.json below it; '-' reads standard input.\n"
    "\n"
    "  --format=FORMAT        text: FILE:LINE:COLUMN: error|warning: MESSAGE [RULE]\n"
    "                         (the default); github: GitHub Actions annotations;\n"
    "                         sarif: one SARIF 2.1.0 document\n"
    "  --werror               exit with status 1 on warnings too\n"
    "  --fix                  apply the certain repairs the findings carry, in place,\n"
    "                         say what changed, then report what remains\n"
    "  --disable=RULE[,RULE]  do not report these rules (may be repeated)\n"
    "  --select=RULE[,RULE]   report only these rules, less the disabled ones\n"
    "                         (may be repeated)\n"
    "  --no-config            read no .velkin-check project file\n"
    "  --stdin-filename=NAME  name of the definition read from '-', for its profile\n"
    "                         and the report\n"
    "  --color=WHEN           colour the text: auto (on a terminal, without\n"
    "                         NO_COLOR; the default), always or never\n"
    "  --list-rules           list the rules: id, level in force, summary\n"
    "  --explain=RULE         show the full help of a rule\n"
    "  -h, --help             show this help and exit\n"
    "  --version              show the version and exit\n"
    "\n"
    "An option's value may also be the next argument: --format sarif.\n"
    "The nearest file .velkin-check, in the definition's folder or above, sets the\n"
    "rules' levels for it and accepts findings: lines 'disable=RULE,...',\n"
    "'error=RULE,...', 'warning=RULE,...', 'ignore=RULE:IDENTIFIER', '#' comments.\n"
    "\n"
    "Exit status: 2 usage problem or a file not read; otherwise 1 errors (or\n"
    "warnings with --werror); otherwise 0. See velkin-check(1).\n";

namespace {

using Action = Command::Action;

bool Fail(Command& command, std::string problem)
{
    command.action = Action::Usage;
    command.problem = std::move(problem);
    return false;
}

bool SetFormat(const std::string& value, Command& command)
{
    const std::optional<Format> format = ParseFormat(value);
    if (!format)
        return Fail(command, "unknown format '" + value + "' (text, github or sarif)");
    command.options.format = *format;
    return true;
}

bool SetColor(const std::string& value, Command& command)
{
    const std::optional<cli::ColorWhen> when = cli::ParseColorWhen(value);
    if (!when)
        return Fail(command, "unknown colour choice '" + value + "' (auto, always or never)");
    command.options.color = *when;
    return true;
}

bool SetDisabled(const std::string& value, Command& command)
{
    std::string problem;
    return AddRules(value, command.options.disabled, problem) || Fail(command, problem);
}

bool SetSelected(const std::string& value, Command& command)
{
    std::string problem;
    const size_t before = command.options.selected.size();
    if (!AddRules(value, command.options.selected, problem))
        return Fail(command, problem);
    return command.options.selected.size() > before || Fail(command, "--select needs a rule");
}

bool SetExplained(const std::string& value, Command& command)
{
    command.explained = FindRule(value);
    if (command.explained == nullptr)
        return Fail(command, "unknown rule '" + value + "' (velkin-check --list-rules lists them)");
    command.action = Action::Explain;
    return false;
}

bool SetStdinName(const std::string& value, Command& command)
{
    if (value.empty())
        return Fail(command, "--stdin-filename needs a name");
    command.options.stdinName = value;
    return true;
}

// Options that take a value, as "--name=VALUE" or "--name VALUE". A setter
// returns false when the reading ends there.
struct ValueOption {
    const char* name;
    bool (*set)(const std::string& value, Command& command);
};

const ValueOption kValueOptions[] = {
    {"--format", SetFormat},
    {"--color", SetColor},
    {"--disable", SetDisabled},
    {"--select", SetSelected},
    {"--explain", SetExplained},
    {"--stdin-filename", SetStdinName},
};

// A flag, or an option with a value; false when the reading ends.
bool ReadOption(const std::vector<std::string>& args, size_t& i, Command& command)
{
    const std::string& arg = args[i];
    if (arg == "-h" || arg == "--help") {
        command.action = Action::Help;
        return false;
    }
    if (arg == "--version" || arg == "--list-rules") {
        command.action = arg == "--version" ? Action::Version : Action::ListRules;
        return false;
    }
    if (arg == "--werror") {
        command.options.werror = true;
        return true;
    }
    if (arg == "--fix") {
        command.options.fix = true;
        return true;
    }
    if (arg == "--no-config") {
        command.options.readConfig = false;
        return true;
    }
    for (const ValueOption& option : kValueOptions) {
        const std::string name = option.name;
        if (arg.compare(0, name.size() + 1, name + "=") == 0)
            return option.set(arg.substr(name.size() + 1), command);
        if (arg == name) {
            if (++i == args.size())
                return Fail(command, "option '" + name + "' needs a value");
            return option.set(args[i], command);
        }
    }
    return Fail(command, "unknown option '" + arg + "'");
}

// What the inputs must be once every argument is read.
void CheckInputs(Command& command)
{
    const std::vector<std::string>& inputs = command.options.inputs;
    const auto stdins = std::count(inputs.begin(), inputs.end(), "-");
    if (inputs.empty())
        Fail(command, "no file to check");
    else if (stdins > 1)
        Fail(command, "'-' is given more than once: standard input is read once");
    else if (stdins > 0 && command.options.fix)
        Fail(command, "--fix rewrites files: standard input cannot be fixed");
    else if (stdins == 0 && !command.options.stdinName.empty())
        Fail(command, "--stdin-filename names standard input, but '-' is not among the files");
}

}  // namespace

Command ParseCommandLine(const std::vector<std::string>& args)
{
    Command command;
    bool options = true;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (options && arg == "--") {
            options = false;
        } else if (options && arg.size() > 1 && arg[0] == '-') {
            if (!ReadOption(args, i, command))
                return command;
        } else {
            command.options.inputs.push_back(arg);
        }
    }
    CheckInputs(command);
    return command;
}

bool AddRules(std::string_view list, std::vector<RuleId>& out, std::string& problem)
{
    while (!list.empty()) {
        const size_t comma = std::min(list.find(','), list.size());
        std::string_view id = list.substr(0, comma);
        list.remove_prefix(std::min(comma + 1, list.size()));
        while (!id.empty() && (id.front() == ' ' || id.front() == '\t'))
            id.remove_prefix(1);
        while (!id.empty() && (id.back() == ' ' || id.back() == '\t'))
            id.remove_suffix(1);
        if (id.empty())
            continue;
        const Rule* rule = FindRule(id);
        if (rule == nullptr) {
            problem =
                "unknown rule '" + std::string(id) + "' (velkin-check --list-rules lists them)";
            return false;
        }
        out.push_back(rule->id);
    }
    return true;
}

std::vector<bool> SilencedRules(const std::vector<RuleId>& selected,
                                const std::vector<RuleId>& disabled)
{
    std::vector<bool> off(Rules().size(), !selected.empty());
    for (RuleId id : selected)
        off[static_cast<size_t>(id)] = false;
    for (RuleId id : disabled)
        off[static_cast<size_t>(id)] = true;
    return off;
}

}  // namespace check
