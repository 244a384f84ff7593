// One SARIF 2.1.0 log for the whole run, written when the run ends.
#include <glib.h>

#include <cstdio>

#include "JsonWriter.h"
#include "Report.h"

namespace check {

namespace {

using cli::JsonWriter;

// The base that relative artifact URIs are resolved against: the directory
// velkin-check ran in, given in the run's originalUriBaseIds.
const char kRootId[] = "%SRCROOT%";

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
void WriteArtifact(JsonWriter& json, const std::string& path, const std::string& cwd)
{
    g_autofree gchar* canonical = g_canonicalize_filename(path.c_str(), cwd.c_str());
    const std::string full = canonical;
    const std::string base = cwd == "/" ? cwd : cwd + "/";
    json.BeginObject();
    if (!g_path_is_absolute(path.c_str()) && full.size() > base.size() &&
        full.compare(0, base.size(), base) == 0) {
        json.Member("uri", Uri(full.substr(base.size())));
        json.Member("uriBaseId", kRootId);
    } else {
        json.Member("uri", FileUri(full));
    }
    json.EndObject();
}

// {"text": TEXT}, as SARIF's messages and descriptions are.
void WriteTextObject(JsonWriter& json, const char* key, const std::string& text)
{
    json.Key(key);
    json.BeginObject();
    json.Member("text", text);
    json.EndObject();
}

// The artifactLocation of a file, or a description where standard input has
// no name.
void WriteArtifactLocation(JsonWriter& json, const std::string& path, bool unnamedStdin,
                           const std::string& cwd)
{
    json.Key("artifactLocation");
    if (unnamedStdin) {
        json.BeginObject();
        WriteTextObject(json, "description", "standard input");
        json.EndObject();
    } else {
        WriteArtifact(json, path, cwd);
    }
}

// "locations" with the one physical location of a file (and of a line and
// column in it, when `line` is not 0), or a description where standard input
// has no name.
void WriteLocations(JsonWriter& json, const std::string& path, bool unnamedStdin,
                    const std::string& cwd, long line = 0, long column = 0)
{
    json.Key("locations");
    json.BeginArray();
    json.BeginObject();
    json.Key("physicalLocation");
    json.BeginObject();
    WriteArtifactLocation(json, path, unnamedStdin, cwd);
    if (line != 0) {
        json.Key("region");
        json.BeginObject();
        json.Key("startLine");
        json.Number(line);
        json.Key("startColumn");
        json.Number(column);
        json.EndObject();
    }
    json.EndObject();
    json.EndObject();
    json.EndArray();
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

void WriteRules(JsonWriter& json)
{
    json.Key("rules");
    json.BeginArray();
    for (const Rule& r : Rules()) {
        json.BeginObject(true);
        json.Member("id", r.name);
        WriteTextObject(json, "shortDescription", r.summary);
        WriteTextObject(json, "fullDescription", r.help);
        WriteTextObject(json, "help", RuleHelp(r));
        json.Key("defaultConfiguration");
        json.BeginObject();
        json.Member("level", SeverityName(r.severity));
        json.EndObject();
        json.EndObject();
    }
    json.EndArray();
}

void WriteTool(JsonWriter& json, const RunSummary& run)
{
    json.Key("tool");
    json.BeginObject();
    json.Key("driver");
    json.BeginObject();
    json.Member("name", "velkin-check");
    json.Member("version", run.version);
    json.Member("semanticVersion", run.version);
    json.Member("informationUri", run.informationUri);
    WriteRules(json);
    json.EndObject();
    json.EndObject();
}

// One invocation: whether every file was read, the exit status, and one
// notification per file or directory that could not be read.
void WriteInvocation(JsonWriter& json, const RunSummary& run)
{
    json.Key("invocations");
    json.BeginArray();
    json.BeginObject();
    json.Key("executionSuccessful");
    json.Bool(run.unread.empty());
    json.Key("exitCode");
    json.Number(run.exitCode);
    json.Key("toolExecutionNotifications");
    json.BeginArray();
    for (const Unread& u : run.unread) {
        json.BeginObject(true);
        json.Member("level", "error");
        WriteTextObject(json, "message", "could not be read: " + u.reason + ".");
        WriteLocations(json, u.path, u.unnamedStdin, run.workingDirectory);
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
    json.EndArray();
}

// A finding's fix: one change of its file, each edit a replacement of a
// byte range.
void WriteFix(JsonWriter& json, const FileReport& file, const Fix& fix, const std::string& cwd)
{
    json.Key("fixes");
    json.BeginArray();
    json.BeginObject(true);
    WriteTextObject(json, "description", fix.title);
    json.Key("artifactChanges");
    json.BeginArray();
    json.BeginObject(true);
    WriteArtifactLocation(json, file.path, file.unnamedStdin, cwd);
    json.Key("replacements");
    json.BeginArray();
    for (const TextEdit& edit : fix.edits) {
        json.BeginObject();
        json.Key("deletedRegion");
        json.BeginObject();
        json.Key("byteOffset");
        json.Number(static_cast<long>(edit.offset));
        json.Key("byteLength");
        json.Number(static_cast<long>(edit.length));
        json.EndObject();
        if (!edit.replacement.empty()) {  // absent: the region is deleted
            json.Key("insertedContent");
            json.BeginObject();
            json.Member("text", edit.replacement);
            json.EndObject();
        }
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
    json.EndArray();
    json.EndObject();
    json.EndArray();
}

void WriteResults(JsonWriter& json, const std::vector<FileReport>& files, const std::string& cwd)
{
    json.Key("results");
    json.BeginArray();
    for (const FileReport& file : files) {
        const std::vector<size_t> starts = LineStarts(file.text);
        for (const Diagnostic& d : file.diagnostics) {
            const Rule& rule = RuleOf(d.rule);
            json.BeginObject(true);
            json.Member("ruleId", rule.name);
            json.Key("ruleIndex");
            json.Number(static_cast<int>(d.rule));
            json.Member("level", SeverityName(d.severity));
            WriteTextObject(json, "message", d.message);
            WriteLocations(json, file.path, file.unnamedStdin, cwd, d.position.line,
                           Utf16Column(file.text, starts, d.position));
            if (d.fix)
                WriteFix(json, file, *d.fix, cwd);
            json.EndObject();
        }
    }
    json.EndArray();
}

void WriteBase(JsonWriter& json, const std::string& cwd)
{
    json.Key("originalUriBaseIds");
    json.BeginObject();
    json.Key(kRootId);
    json.BeginObject(true);
    json.Member("uri", FileUri(cwd == "/" ? cwd : cwd + "/"));
    WriteTextObject(json, "description", "The directory velkin-check ran in.");
    json.EndObject();
    json.EndObject();
}

class SarifReporter : public Reporter {
public:
    explicit SarifReporter(std::ostream& out) : m_out(out) {}

    void Add(FileReport file) override { m_files.push_back(std::move(file)); }

    void Finish(const RunSummary& run) override
    {
        std::string text;
        JsonWriter json(text);
        json.BeginObject();
        json.Member("$schema", "https://json.schemastore.org/sarif-2.1.0.json");
        json.Member("version", "2.1.0");
        json.Key("runs");
        json.BeginArray();
        json.BeginObject();
        WriteTool(json, run);
        WriteInvocation(json, run);
        WriteBase(json, run.workingDirectory);
        json.Member("columnKind", "utf16CodeUnits");
        WriteResults(json, m_files, run.workingDirectory);
        json.EndObject();
        json.EndArray();
        json.EndObject();
        m_out << text;
    }

private:
    std::ostream& m_out;
    std::vector<FileReport> m_files;
};

}  // namespace

std::unique_ptr<Reporter> MakeSarifReporter(std::ostream& out)
{
    return std::make_unique<SarifReporter>(out);
}

}  // namespace check
