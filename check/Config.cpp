#include "Config.h"

#include <glib.h>

#include <algorithm>

#include "Inputs.h"
#include "JsonLexer.h"
#include "Options.h"
#include "Report.h"

namespace check {

namespace {

std::string_view Trimmed(std::string_view s)
{
    const size_t first = s.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

// "RULE:IDENTIFIER": the identifier as written after the colon, or decoded
// when it is a JSON string (for one with blanks at its ends).
bool AddIgnored(std::string_view value, Settings& settings, std::string& problem)
{
    const size_t colon = value.find(':');
    const std::string_view name = Trimmed(value.substr(0, std::min(colon, value.size())));
    if (colon == std::string_view::npos || name.empty() || colon + 1 == value.size()) {
        problem = "expected 'ignore=RULE:IDENTIFIER', not 'ignore=" + std::string(value) + "'";
        return false;
    }
    const Rule* rule = FindRule(name);
    if (rule == nullptr) {
        problem = "unknown rule '" + std::string(name) + "' (velkin-check --list-rules lists them)";
        return false;
    }
    std::string_view id = value.substr(colon + 1);
    const bool quoted = id.size() >= 2 && id.front() == '"' && id.back() == '"';
    settings.ignored.emplace_back(
        rule->id, quoted ? velkin::DecodeString(id.substr(1, id.size() - 2)) : std::string(id));
    return true;
}

// The levels that a line's key sets.
const std::pair<std::string_view, Level> kLevelKeys[] = {
    {"disable", Level::Off}, {"error", Level::Error}, {"warning", Level::Warning}};

// One line without its comment: true when it is blank or understood.
bool ParseLine(std::string_view line, Settings& settings, std::string& problem)
{
    line = Trimmed(line.substr(0, line.find('#')));
    if (line.empty())
        return true;
    const size_t equals = line.find('=');
    const std::string_view key = Trimmed(line.substr(0, std::min(equals, line.size())));
    const std::string_view value =
        equals == std::string_view::npos ? "" : Trimmed(line.substr(equals + 1));
    if (equals != std::string_view::npos && key == "ignore")
        return AddIgnored(value, settings, problem);
    for (const auto& [name, level] : kLevelKeys) {
        if (equals == std::string_view::npos || key != name)
            continue;
        std::vector<RuleId> rules;
        if (!AddRules(value, rules, problem))
            return false;
        for (RuleId rule : rules)
            settings.Set(rule, level);
        return true;
    }
    problem =
        "expected 'disable=RULE,...', 'error=RULE,...', 'warning=RULE,...' or "
        "'ignore=RULE:IDENTIFIER', not '" +
        std::string(line) + "'";
    return false;
}

}  // namespace

Severity Settings::SeverityOf(RuleId rule) const
{
    switch (Of(rule)) {
    case Level::Error: return Severity::Error;
    case Level::Warning: return Severity::Warning;
    case Level::Default:
    case Level::Off: break;
    }
    return RuleOf(rule).severity;
}

void Settings::Apply(std::vector<Diagnostic>& found) const
{
    auto dropped = [this](const Diagnostic& d) {
        if (Of(d.rule) == Level::Off)
            return true;
        return !d.identifier.empty() &&
               std::find(ignored.begin(), ignored.end(), std::make_pair(d.rule, d.identifier)) !=
                   ignored.end();
    };
    found.erase(std::remove_if(found.begin(), found.end(), dropped), found.end());
    for (Diagnostic& d : found)
        d.severity = SeverityOf(d.rule);
}

const char* LevelName(const Settings& settings, RuleId rule)
{
    return settings.Of(rule) == Level::Off ? "off" : SeverityName(settings.SeverityOf(rule));
}

bool ParseConfig(std::string_view text, Settings& settings, std::string& problem)
{
    // Editors on some systems save a byte-order mark and CRLF line ends;
    // Trimmed takes the CR off each line.
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        text.remove_prefix(kByteOrderMark.size());
    for (size_t number = 1; !text.empty(); ++number) {
        const size_t end = std::min(text.find('\n'), text.size());
        if (!ParseLine(text.substr(0, end), settings, problem)) {
            problem = std::to_string(number) + ": " + problem;
            return false;
        }
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return true;
}

bool ConfigFinder::Find(const std::string& directory, Settings& settings, std::string& problem)
{
    const std::string path = Nearest(directory);
    if (path.empty())
        return true;
    const File& file = Load(path);
    if (!file.ok) {
        problem = file.problem;
        return false;
    }
    settings = file.settings;
    return true;
}

// The project file in `directory` or the nearest folder above it; empty if none.
std::string ConfigFinder::Nearest(const std::string& directory) const
{
    g_autofree gchar* canonical = g_canonicalize_filename(directory.c_str(), m_cwd.c_str());
    std::string dir = canonical;
    for (;;) {
        const std::string candidate = (dir == "/" ? "" : dir) + "/" + kConfigName;
        if (g_file_test(candidate.c_str(), G_FILE_TEST_EXISTS))
            return candidate;
        if (dir == "/")
            return {};
        g_autofree gchar* parent = g_path_get_dirname(dir.c_str());
        dir = parent;
    }
}

const ConfigFinder::File& ConfigFinder::Load(const std::string& path)
{
    const auto known = m_files.find(path);
    if (known != m_files.end())
        return known->second;
    File& file = m_files[path];
    std::string text;
    std::string reason;
    if (!ReadFile(path.c_str(), text, reason))
        file.problem = Shown(path) + ": " + reason;
    else if (!ParseConfig(text, file.settings, reason))
        file.problem = Shown(path) + ":" + reason;
    else
        file.ok = true;
    return file;
}

// A path below the working directory as a relative one, others as they are.
std::string ConfigFinder::Shown(const std::string& path) const
{
    const std::string base = m_cwd == "/" ? m_cwd : m_cwd + "/";
    return path.compare(0, base.size(), base) == 0 ? path.substr(base.size()) : path;
}

}  // namespace check
