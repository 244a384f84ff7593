#include "Report.h"

#include <glib.h>

#include <cstdio>

namespace check {

namespace {

// The base that relative artifact URIs are resolved against: the directory
// velkin-check ran in, given in the run's originalUriBaseIds.
const char kRootId[] = "%SRCROOT%";

// SGR sequences for a terminal, as gcc colours its diagnostics.
const char kBold[] = "\033[1m";
const char kRedBold[] = "\033[1;31m";
const char kMagentaBold[] = "\033[1;35m";
const char kDim[] = "\033[2m";
const char kReset[] = "\033[0m";

// A JSON string literal of `text`; bytes that are not UTF-8 become U+FFFD.
std::string Quoted(const std::string& text)
{
    std::string out = "\"";
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80) {
            const gunichar u =
                g_utf8_get_char_validated(text.data() + i, static_cast<gssize>(text.size() - i));
            if (u == static_cast<gunichar>(-1) || u == static_cast<gunichar>(-2)) {
                out += "\\ufffd";
            } else {
                const size_t n = static_cast<size_t>(g_utf8_skip[c]);
                out.append(text, i, n);
                i += n - 1;
            }
        } else if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            out += escape;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

// The path as a URI path: bytes outside the unreserved set and '/' are
// percent-encoded (a ':' too, so that a relative path never reads as a scheme).
std::string Uri(const std::string& path)
{
    std::string out;
    for (unsigned char c : path) {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
            c == '-' || c == '.' || c == '_' || c == '~' || c == '/') {
            out += static_cast<char>(c);
        } else {
            char escape[4];
            std::snprintf(escape, sizeof escape, "%%%02X", c);
            out += escape;
        }
    }
    return out;
}

// "file:///..." for an absolute path.
std::string FileUri(const std::string& absolute)
{
    return "file://" + Uri(absolute);
}

// The artifactLocation of a path: relative to kRootId when it lies below the
// working directory, else an absolute file URI. Both are taken from the path
// with "." and ".." resolved, which SARIF file URIs must not hold.
std::string ArtifactLocation(const std::string& path, const std::string& cwd)
{
    g_autofree gchar* canonical = g_canonicalize_filename(path.c_str(), cwd.c_str());
    const std::string full = canonical;
    const std::string base = cwd == "/" ? cwd : cwd + "/";
    if (!g_path_is_absolute(path.c_str()) && full.size() > base.size() &&
        full.compare(0, base.size(), base) == 0) {
        return "{\"uri\": " + Quoted(Uri(full.substr(base.size()))) + ", \"uriBaseId\": \"" +
               kRootId + "\"}";
    }
    return "{\"uri\": " + Quoted(FileUri(full)) + "}";
}

// The physicalLocation members of a file (and of a region in it), or a
// description where standard input has no name.
std::string Location(const std::string& path, bool unnamedStdin, const std::string& cwd,
                     const std::string& region)
{
    const std::string artifact =
        unnamedStdin ? std::string("{\"description\": {\"text\": \"standard input\"}}")
                     : ArtifactLocation(path, cwd);
    return "{\"physicalLocation\": {\"artifactLocation\": " + artifact +
           (region.empty() ? "" : ", \"region\": " + region) + "}}";
}

// Byte offsets where each line of `text` starts; a leading byte-order mark
// is not part of line 1.
std::vector<size_t> LineStarts(const std::string& text)
{
    std::vector<size_t> starts{text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3u : 0u};
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n')
            starts.push_back(i + 1);
    return starts;
}

// The column of `p` in UTF-16 code units, counted on its line; a byte that
// is not UTF-8, or lies beyond the text, counts as one unit.
long Utf16Column(const std::string& text, const std::vector<size_t>& starts, Position p)
{
    if (p.line < 1 || static_cast<size_t>(p.line) > starts.size() || p.column < 1)
        return p.column;
    size_t i = starts[static_cast<size_t>(p.line - 1)];
    const size_t end = i + static_cast<size_t>(p.column - 1);
    long units = 1;
    while (i < end && i < text.size()) {
        const gunichar c =
            g_utf8_get_char_validated(text.data() + i, static_cast<gssize>(text.size() - i));
        const bool valid = c != static_cast<gunichar>(-1) && c != static_cast<gunichar>(-2);
        units += valid && c >= 0x10000 ? 2 : 1;
        i += valid ? static_cast<size_t>(g_utf8_skip[static_cast<unsigned char>(text[i])]) : 1;
    }
    return units + static_cast<long>(end > i ? end - i : 0);
}

// A workflow command value: '%', CR and LF percent-encoded, and in a
// property also ':' and ',' (the escaping of GitHub's actions toolkit).
std::string GithubEscaped(const std::string& text, bool property)
{
    std::string out;
    for (char c : text) {
        if (c == '%')
            out += "%25";
        else if (c == '\r')
            out += "%0D";
        else if (c == '\n')
            out += "%0A";
        else if (property && c == ':')
            out += "%3A";
        else if (property && c == ',')
            out += "%2C";
        else
            out += c;
    }
    return out;
}

void WriteRules(std::ostream& out)
{
    const std::vector<Rule>& rules = Rules();
    for (size_t i = 0; i < rules.size(); ++i) {
        const Rule& r = rules[i];
        out << (i == 0 ? "\n" : ",\n") << "        {\"id\": " << Quoted(r.name)
            << ", \"shortDescription\": {\"text\": " << Quoted(r.summary) << "}"
            << ", \"fullDescription\": {\"text\": " << Quoted(r.help) << "}"
            << ", \"help\": {\"text\": " << Quoted(RuleHelp(r)) << "}"
            << ", \"defaultConfiguration\": {\"level\": \"" << SeverityName(r.severity) << "\"}}";
    }
}

void WriteTool(std::ostream& out, const SarifRun& run)
{
    out << "    \"tool\": {\"driver\": {\n"
        << "      \"name\": \"velkin-check\",\n"
        << "      \"version\": " << Quoted(run.version) << ",\n"
        << "      \"semanticVersion\": " << Quoted(run.version) << ",\n"
        << "      \"informationUri\": " << Quoted(run.informationUri) << ",\n"
        << "      \"rules\": [";
    WriteRules(out);
    out << "\n      ]\n    }},\n";
}

void WriteResults(std::ostream& out, const std::vector<FileReport>& files, const std::string& cwd)
{
    out << "    \"results\": [";
    bool first = true;
    for (const FileReport& file : files) {
        if (file.diagnostics.empty())
            continue;
        const std::vector<size_t> starts = LineStarts(file.text);
        for (const Diagnostic& d : file.diagnostics) {
            const Rule& rule = RuleOf(d.rule);
            const std::string region =
                "{\"startLine\": " + std::to_string(d.position.line) +
                ", \"startColumn\": " + std::to_string(Utf16Column(file.text, starts, d.position)) +
                "}";
            out << (first ? "\n" : ",\n") << "      {\"ruleId\": " << Quoted(rule.name)
                << ", \"ruleIndex\": " << static_cast<int>(d.rule) << ", \"level\": \""
                << SeverityName(rule.severity) << "\""
                << ", \"message\": {\"text\": " << Quoted(d.message) << "}"
                << ", \"locations\": [" << Location(file.path, file.unnamedStdin, cwd, region)
                << "]}";
            first = false;
        }
    }
    out << "\n    ]\n";
}

// One invocation: whether every file was read, the exit status, and one
// notification per file or directory that could not be read.
void WriteInvocation(std::ostream& out, const SarifRun& run)
{
    out << "    \"invocations\": [{\n"
        << "      \"executionSuccessful\": " << (run.unread.empty() ? "true" : "false") << ",\n"
        << "      \"exitCode\": " << run.exitCode << ",\n"
        << "      \"toolExecutionNotifications\": [";
    for (size_t i = 0; i < run.unread.size(); ++i) {
        const Unread& u = run.unread[i];
        out << (i == 0 ? "\n" : ",\n") << "        {\"level\": \"error\", \"message\": {\"text\": "
            << Quoted("could not be read: " + u.reason + ".") << "}, \"locations\": ["
            << Location(u.path, u.unnamedStdin, run.workingDirectory, "") << "]}";
    }
    out << "\n      ]\n    }],\n";
}

}  // namespace

const char* SeverityName(Severity s)
{
    return s == Severity::Error ? "error" : "warning";
}

std::string RuleHelp(const Rule& rule)
{
    return std::string(rule.summary) + "\n\n" + rule.help;
}

void WriteText(std::ostream& out, const FileReport& file, bool color)
{
    for (const Diagnostic& d : file.diagnostics) {
        const Rule& rule = RuleOf(d.rule);
        const bool error = rule.severity == Severity::Error;
        out << (color ? kBold : "") << file.path << ':' << d.position.line << ':'
            << d.position.column << ':' << (color ? kReset : "") << ' '
            << (color ? (error ? kRedBold : kMagentaBold) : "") << SeverityName(rule.severity)
            << ':' << (color ? kReset : "") << ' ' << d.message << ' ' << (color ? kDim : "") << '['
            << rule.name << ']' << (color ? kReset : "") << '\n';
    }
}

void WriteGithub(std::ostream& out, const FileReport& file)
{
    for (const Diagnostic& d : file.diagnostics) {
        const Rule& rule = RuleOf(d.rule);
        out << "::" << SeverityName(rule.severity) << " file=" << GithubEscaped(file.path, true)
            << ",line=" << d.position.line << ",col=" << d.position.column
            << ",title=" << GithubEscaped(rule.name, true)
            << "::" << GithubEscaped(d.message, false) << '\n';
    }
}

void WriteSarif(std::ostream& out, const std::vector<FileReport>& files, const SarifRun& run)
{
    const std::string& cwd = run.workingDirectory;
    out << "{\n  \"$schema\": \"https://json.schemastore.org/sarif-2.1.0.json\",\n"
        << "  \"version\": \"2.1.0\",\n  \"runs\": [{\n";
    WriteTool(out, run);
    WriteInvocation(out, run);
    out << "    \"originalUriBaseIds\": {\"" << kRootId
        << "\": {\"uri\": " << Quoted(FileUri(cwd == "/" ? cwd : cwd + "/"))
        << ", \"description\": {\"text\": \"The directory velkin-check ran in.\"}}},\n"
        << "    \"columnKind\": \"utf16CodeUnits\",\n";
    WriteResults(out, files, cwd);
    out << "  }]\n}\n";
}

}  // namespace check
