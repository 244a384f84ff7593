#include "Report.h"

namespace check {

std::optional<Format> ParseFormat(std::string_view name)
{
    static const std::pair<const char*, Format> kNames[] = {
        {"text", Format::Text}, {"github", Format::Github}, {"sarif", Format::Sarif}};
    for (const auto& [text, format] : kNames)
        if (name == text)
            return format;
    return std::nullopt;
}

std::unique_ptr<Reporter> MakeReporter(Format format, std::ostream& out, bool color)
{
    switch (format) {
    case Format::Github: return MakeGithubReporter(out);
    case Format::Sarif: return MakeSarifReporter(out);
    case Format::Text: break;
    }
    return MakeTextReporter(out, color);
}

const char* SeverityName(Severity s)
{
    return s == Severity::Error ? "error" : "warning";
}

std::string RuleHelp(const Rule& rule)
{
    return std::string(rule.summary) + "\n\n" + rule.help;
}

}  // namespace check
