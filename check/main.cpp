// velkin-check: reports what the splitter would silently do wrong with menu
// definitions, and with --fix repairs what is certain. Exit status: 2 for a
// usage problem or a file not read (or not rewritten), else 1
// for errors (or warnings under --werror), else 0.
#include <glib.h>

#include <algorithm>
#include <cstring>
#include <iomanip>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "Check.h"
#include "Config.h"
#include "Fixes.h"
#include "Inputs.h"
#include "Options.h"
#include "Report.h"
#include "Usage.h"

namespace {

using namespace check;

int Usage(const std::string& problem)
{
    std::cerr << cli::UsageMessage("velkin-check", problem);
    return cli::kUsageStatus;
}

// The settings of a run: the project file nearest `directory` (unless
// --no-config), then --disable and --select.
bool RunSettings(const Options& options, ConfigFinder& finder, const std::string& directory,
                 Settings& settings, std::string& problem)
{
    const bool ok = !options.readConfig || finder.Find(directory, settings, problem);
    const std::vector<bool> off = SilencedRules(options.selected, options.disabled);
    for (size_t i = 0; i < off.size(); ++i)
        if (off[i])
            settings.Set(static_cast<RuleId>(i), Level::Off);
    return ok;
}

// One rule a line: id, level in force, summary, in columns. The level is the
// one a definition in the working directory is checked with.
int ListRules(const Options& options)
{
    g_autofree gchar* cwd = g_get_current_dir();
    ConfigFinder finder(cwd);
    Settings settings;
    std::string problem;
    if (!RunSettings(options, finder, ".", settings, problem)) {
        std::cerr << "velkin-check: " << problem << "\n";
        return 2;
    }
    size_t width = 0;
    for (const Rule& rule : Rules())
        width = std::max(width, std::strlen(rule.name));
    for (const Rule& rule : Rules())
        std::cout << std::left << std::setw(static_cast<int>(width + 2)) << rule.name
                  << std::setw(9) << LevelName(settings, rule.id) << rule.summary << "\n";
    return 0;
}

void Explain(const Rule& rule)
{
    std::cout << rule.name << " (" << SeverityName(rule.severity) << ")\n"
              << RuleHelp(rule) << "\n";
}

// Where an input's project file is looked for: its folder; for standard
// input without a name, the working directory.
std::string ConfigDirectory(const Input& input)
{
    if (!input.named)
        return ".";
    g_autofree gchar* dir = g_path_get_dirname(input.path.c_str());
    return dir;
}

// For each input, the settings it is checked with. False once every faulty
// project file has been reported.
bool InputSettings(const Options& options, const std::vector<Input>& inputs, const std::string& cwd,
                   std::vector<Settings>& settings)
{
    ConfigFinder finder(cwd);
    std::set<std::string> reported;
    for (const Input& input : inputs) {
        settings.emplace_back();
        std::string problem;
        if (!RunSettings(options, finder, ConfigDirectory(input), settings.back(), problem) &&
            reported.insert(problem).second)
            std::cerr << "velkin-check: " << problem << "\n";
    }
    return reported.empty();
}

void ReportUnread(const Unread& unread)
{
    std::cerr << "velkin-check: " << unread.path << ": " << unread.reason << "\n";
}

// Reads and checks one input, keeping the findings its settings report;
// false (with the reason reported) when it cannot be read.
bool ReadAndCheck(const Input& input, const Settings& settings, FileReport& report,
                  std::vector<Unread>& unread)
{
    std::string reason;
    if (!ReadFile(input.fromStdin ? nullptr : input.path.c_str(), report.text, reason)) {
        unread.push_back({input.path, reason, !input.named});
        ReportUnread(unread.back());
        return false;
    }
    report.path = input.path;
    report.unnamedStdin = !input.named;
    report.diagnostics = CheckDefinition(input.path.c_str(), report.text);
    settings.Apply(report.diagnostics);
    return true;
}

// Rounds of --fix: a repair may uncover another (a group read once its
// member is renamed), and overlapping ones wait for the next round.
constexpr int kFixRounds = 10;

// --fix: applies the certain repairs of one checked file, round after round,
// says what changed (on standard output with text, else on standard error,
// to keep the report readable), replaces the file and checks the new text.
// False when the file cannot be replaced; it is then as it was.
bool FixFile(const Input& input, const Settings& settings, Format format, FileReport& report)
{
    std::ostringstream said;  // told once the file is replaced
    std::string text = report.text;
    std::vector<Diagnostic> found = report.diagnostics;
    size_t left = 0;
    for (int round = 0; round < kFixRounds; ++round) {
        const FixedText fixed = ApplyFixes(text, found);
        for (const Diagnostic* d : fixed.applied)
            said << report.path << ':' << d->position.line << ':' << d->position.column
                 << ": fixed: " << d->fix->title << " [" << RuleOf(d->rule).name << "]\n";
        left = fixed.left.size();
        if (fixed.applied.empty())
            break;
        text = fixed.text;
        found = CheckDefinition(input.path.c_str(), text);
        settings.Apply(found);
    }
    if (left > 0)
        said << report.path << ": " << left << " fix(es) left after " << kFixRounds
             << " rounds: run --fix again\n";
    std::string reason;
    if (text != report.text && !ReplaceFile(input.path, text, reason)) {
        std::cerr << "velkin-check: " << input.path << ": not fixed: " << reason << "\n";
        return false;
    }
    (format == Format::Text ? std::cout : std::cerr) << said.str();
    report.text = std::move(text);
    report.diagnostics = std::move(found);
    return true;
}

bool Fails(const FileReport& report, bool werror)
{
    return std::any_of(
        report.diagnostics.begin(), report.diagnostics.end(),
        [werror](const Diagnostic& d) { return werror || d.severity == Severity::Error; });
}

int Check(const Options& options)
{
    g_autofree gchar* cwd = g_get_current_dir();
    RunSummary run{VELKIN_VERSION, VELKIN_INFORMATION_URI, cwd, {}, 0};
    const std::vector<Input> inputs = ExpandInputs(options.inputs, options.stdinName, run.unread);
    std::for_each(run.unread.begin(), run.unread.end(), ReportUnread);
    std::vector<Settings> settings;
    if (!InputSettings(options, inputs, cwd, settings))
        return 2;
    const std::unique_ptr<Reporter> reporter =
        MakeReporter(options.format, std::cout, cli::UseColorOnStdout(options.color));
    bool failing = false, unwritten = false;
    for (size_t i = 0; i < inputs.size(); ++i) {
        FileReport report;
        if (!ReadAndCheck(inputs[i], settings[i], report, run.unread))
            continue;
        if (options.fix && !FixFile(inputs[i], settings[i], options.format, report))
            unwritten = true;
        failing = failing || Fails(report, options.werror);
        reporter->Add(std::move(report));
    }
    // A file not read outweighs every finding: what it holds is unknown.
    run.exitCode = !run.unread.empty() || unwritten ? 2 : failing ? 1 : 0;
    reporter->Finish(run);
    return run.exitCode;
}

}  // namespace

int main(int argc, char** argv)
{
    const Command command = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    switch (command.action) {
    case Command::Action::Usage: return Usage(command.problem);
    case Command::Action::Help: std::cout << kUsage; return 0;
    case Command::Action::Version: std::cout << "velkin-check " VELKIN_VERSION "\n"; return 0;
    case Command::Action::ListRules: return ListRules(command.options);
    case Command::Action::Explain: Explain(*command.explained); return 0;
    case Command::Action::Check: break;
    }
    return Check(command.options);
}
