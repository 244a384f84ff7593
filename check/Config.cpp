#include "Config.h"

#include <glib.h>

#include <algorithm>

#include "Inputs.h"
#include "Options.h"

namespace check {

namespace {

std::string_view Trimmed(std::string_view s)
{
    const size_t first = s.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

// One line without its comment: true when it is blank or disables rules.
bool ParseLine(std::string_view line, std::vector<RuleId>& disabled, std::string& problem)
{
    line = Trimmed(line.substr(0, line.find('#')));
    if (line.empty())
        return true;
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos || Trimmed(line.substr(0, equals)) != "disable") {
        problem = "expected 'disable=RULE,...', not '" + std::string(line) + "'";
        return false;
    }
    return AddRules(line.substr(equals + 1), disabled, problem);
}

}  // namespace

bool ParseConfig(std::string_view text, std::vector<RuleId>& disabled, std::string& problem)
{
    // Editors on some systems save a byte-order mark and CRLF line ends;
    // Trimmed takes the CR off each line.
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        text.remove_prefix(kByteOrderMark.size());
    for (size_t number = 1; !text.empty(); ++number) {
        const size_t end = std::min(text.find('\n'), text.size());
        if (!ParseLine(text.substr(0, end), disabled, problem)) {
            problem = std::to_string(number) + ": " + problem;
            return false;
        }
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return true;
}

bool ConfigFinder::Disabled(const std::string& directory, std::vector<RuleId>& disabled,
                            std::string& problem)
{
    const std::string path = Nearest(directory);
    if (path.empty())
        return true;
    const File& file = Load(path);
    if (!file.ok) {
        problem = file.problem;
        return false;
    }
    disabled.insert(disabled.end(), file.disabled.begin(), file.disabled.end());
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
    else if (!ParseConfig(text, file.disabled, reason))
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
