// Compiler-style lines, which editors and problem matchers read.
#include "Color.h"
#include "Report.h"

namespace check {

namespace {

namespace sgr = cli::sgr;

class TextReporter : public Reporter {
public:
    TextReporter(std::ostream& out, bool color) : m_out(out), m_color(color) {}

    void Add(FileReport file) override
    {
        for (const Diagnostic& d : file.diagnostics) {
            const Rule& rule = RuleOf(d.rule);
            const std::string place = file.path + ':' + std::to_string(d.position.line) + ':' +
                                      std::to_string(d.position.column) + ':';
            const char* severity =
                d.severity == Severity::Error ? sgr::kRedBold : sgr::kMagentaBold;
            m_out << Styled(sgr::kBold, place) << ' '
                  << Styled(severity, std::string(SeverityName(d.severity)) + ':') << ' '
                  << d.message << (d.fix ? " (fixable)" : "") << ' '
                  << Styled(sgr::kDim, '[' + std::string(rule.name) + ']') << '\n';
        }
    }

    void Finish(const RunSummary&) override {}

private:
    std::ostream& m_out;
    const bool m_color;

    std::string Styled(const char* code, const std::string& text) const
    {
        return cli::Styled(m_color, code, text);
    }
};

}  // namespace

std::unique_ptr<Reporter> MakeTextReporter(std::ostream& out, bool color)
{
    return std::make_unique<TextReporter>(out, color);
}

}  // namespace check
