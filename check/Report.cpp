#include "Report.h"

namespace check {

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
