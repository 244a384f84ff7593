// GitHub Actions workflow commands, which the runner shows as annotations.
#include "Report.h"

namespace check {

namespace {

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

class GithubReporter : public Reporter {
public:
    explicit GithubReporter(std::ostream& out) : m_out(out) {}

    void Add(FileReport file) override
    {
        for (const Diagnostic& d : file.diagnostics) {
            const Rule& rule = RuleOf(d.rule);
            m_out << "::" << SeverityName(d.severity)
                  << " file=" << GithubEscaped(file.path, true) << ",line=" << d.position.line
                  << ",col=" << d.position.column << ",title=" << GithubEscaped(rule.name, true)
                  << "::" << GithubEscaped(d.message, false) << '\n';
        }
    }

    void Finish(const RunSummary&) override {}

private:
    std::ostream& m_out;
};

}  // namespace

std::unique_ptr<Reporter> MakeGithubReporter(std::ostream& out)
{
    return std::make_unique<GithubReporter>(out);
}

}  // namespace check
