#include "Report.h"

#include <glib.h>

#include <cstdio>

namespace check {

namespace {

const char* SeverityName(Severity s)
{
    return s == Severity::Error ? "error" : "warning";
}

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

// The path as a relative or absolute URI reference: bytes outside the
// unreserved set and '/' are percent-encoded.
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

}  // namespace

void WriteText(std::ostream& out, const FileReport& file)
{
    for (const Diagnostic& d : file.diagnostics) {
        const Rule& rule = RuleOf(d.rule);
        out << file.path << ':' << d.position.line << ':' << d.position.column << ": "
            << SeverityName(rule.severity) << ": " << d.message << " [" << rule.name << "]\n";
    }
}

void WriteSarif(std::ostream& out, const std::vector<FileReport>& files, const char* version)
{
    out << "{\n  \"$schema\": \"https://json.schemastore.org/sarif-2.1.0.json\",\n"
        << "  \"version\": \"2.1.0\",\n  \"runs\": [{\n    \"tool\": {\"driver\": {\n"
        << "      \"name\": \"velkin-check\",\n      \"version\": " << Quoted(version) << ",\n"
        << "      \"rules\": [";
    const std::vector<Rule>& rules = Rules();
    for (size_t i = 0; i < rules.size(); ++i) {
        const Rule& r = rules[i];
        out << (i == 0 ? "\n" : ",\n") << "        {\"id\": " << Quoted(r.name)
            << ", \"shortDescription\": {\"text\": " << Quoted(r.summary) << "}"
            << ", \"fullDescription\": {\"text\": " << Quoted(r.help) << "}"
            << ", \"help\": {\"text\": " << Quoted(r.help) << "}"
            << ", \"defaultConfiguration\": {\"level\": \"" << SeverityName(r.severity) << "\"}}";
    }
    out << "\n      ]\n    }},\n    \"results\": [";
    bool first = true;
    for (const FileReport& file : files) {
        for (const Diagnostic& d : file.diagnostics) {
            const Rule& rule = RuleOf(d.rule);
            out << (first ? "\n" : ",\n") << "      {\"ruleId\": " << Quoted(rule.name)
                << ", \"ruleIndex\": " << static_cast<int>(d.rule) << ", \"level\": \""
                << SeverityName(rule.severity) << "\""
                << ", \"message\": {\"text\": " << Quoted(d.message) << "}"
                << ", \"locations\": [{\"physicalLocation\": {\"artifactLocation\": {\"uri\": "
                << Quoted(Uri(file.path)) << "}, \"region\": {\"startLine\": " << d.position.line
                << ", \"startColumn\": " << d.position.column << "}}}]}";
            first = false;
        }
    }
    out << "\n    ]\n  }]\n}\n";
}

}  // namespace check
