// velkin-check: reports what the splitter would silently do wrong with menu
// definitions. Exit status: 2 for a usage problem or a file not read, else 1
// for errors (or warnings under --werror), else 0.
#include <glib.h>

#include <algorithm>
#include <cstring>
#include <iomanip>
#include <iostream>
#include <set>
#include <string>
#include <vector>

#include "Check.h"
#include "Config.h"
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

// One rule a line: id, severity, summary, in columns.
void ListRules()
{
    size_t width = 0;
    for (const Rule& rule : Rules())
        width = std::max(width, std::strlen(rule.name));
    for (const Rule& rule : Rules())
        std::cout << std::left << std::setw(static_cast<int>(width + 2)) << rule.name
                  << std::setw(9) << SeverityName(rule.severity) << rule.summary << "\n";
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

// For each input, the rules it does not report: --disable's and those of its
// project file. False once every faulty project file has been reported.
bool RulesOff(const Options& options, const std::vector<Input>& inputs, const std::string& cwd,
              std::vector<std::vector<bool>>& off)
{
    ConfigFinder finder(cwd);
    std::set<std::string> reported;
    for (const Input& input : inputs) {
        std::vector<RuleId> disabled = options.disabled;
        std::string problem;
        if (options.readConfig && !finder.Disabled(ConfigDirectory(input), disabled, problem) &&
            reported.insert(problem).second)
            std::cerr << "velkin-check: " << problem << "\n";
        off.push_back(SilencedRules(options.selected, disabled));
    }
    return reported.empty();
}

void ReportUnread(const Unread& unread)
{
    std::cerr << "velkin-check: " << unread.path << ": " << unread.reason << "\n";
}

// Reads and checks one input, keeping the findings of the rules not off;
// false (with the reason reported) when it cannot be read.
bool ReadAndCheck(const Input& input, const std::vector<bool>& off, FileReport& report,
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
    for (Diagnostic& d : CheckDefinition(input.path.c_str(), report.text))
        if (!off[static_cast<size_t>(d.rule)])
            report.diagnostics.push_back(std::move(d));
    return true;
}

bool Fails(const FileReport& report, bool werror)
{
    return std::any_of(report.diagnostics.begin(), report.diagnostics.end(),
                       [werror](const Diagnostic& d) {
                           return werror || RuleOf(d.rule).severity == Severity::Error;
                       });
}

int Check(const Options& options)
{
    g_autofree gchar* cwd = g_get_current_dir();
    RunSummary run{VELKIN_VERSION, VELKIN_INFORMATION_URI, cwd, {}, 0};
    const std::vector<Input> inputs = ExpandInputs(options.inputs, options.stdinName, run.unread);
    std::for_each(run.unread.begin(), run.unread.end(), ReportUnread);
    std::vector<std::vector<bool>> off;
    if (!RulesOff(options, inputs, cwd, off))
        return 2;
    const std::unique_ptr<Reporter> reporter =
        MakeReporter(options.format, std::cout, cli::UseColorOnStdout(options.color));
    bool failing = false;
    for (size_t i = 0; i < inputs.size(); ++i) {
        FileReport report;
        if (!ReadAndCheck(inputs[i], off[i], report, run.unread))
            continue;
        failing = failing || Fails(report, options.werror);
        reporter->Add(std::move(report));
    }
    // A file not read outweighs every finding: what it holds is unknown.
    run.exitCode = !run.unread.empty() ? 2 : failing ? 1 : 0;
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
    case Command::Action::ListRules: ListRules(); return 0;
    case Command::Action::Explain: Explain(*command.explained); return 0;
    case Command::Action::Check: break;
    }
    return Check(command.options);
}
