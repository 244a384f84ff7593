// The checker on arbitrary bytes as a menu definition. On top of the sanitizers
// and the GLib check: the diagnostics come in file order at positions inside
// the text (a column at most one past the end of its line, a leading
// byte-order mark counted out), their messages are one line of UTF-8, a file
// json-glib refuses or that nests too deep gets only that diagnostic, and the
// SARIF output is JSON that json-glib reads back; the repairs the findings
// carry keep a text json-glib reads one it reads.
#include <json-glib/json-glib.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "Report.h"
#include "Check.h"
#include "Fixes.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FailOnGLibWarning();
    return 0;
}

// The length in bytes of each line of the text, the byte-order mark left out.
static std::vector<long> LineLengths(const std::string& text)
{
    std::vector<long> lengths{0};
    const size_t bom = text.compare(0, 3, "\xef\xbb\xbf") == 0 ? 3 : 0;
    for (size_t i = bom; i < text.size(); ++i) {
        if (text[i] == '\n')
            lengths.push_back(0);
        else
            ++lengths.back();
    }
    return lengths;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    check::FileReport report{"menu-tv.json", check::CheckDefinition("menu-tv.json", text), text};

    const std::vector<long> lengths = LineLengths(text);
    const long lines = static_cast<long>(lengths.size());
    bool refused = false;
    for (size_t i = 0; i < report.diagnostics.size(); ++i) {
        const check::Diagnostic& d = report.diagnostics[i];
        CHECK(d.position.line >= 1 && d.position.line <= lines && d.position.column >= 1);
        CHECK(d.position.column <= lengths[static_cast<size_t>(d.position.line - 1)] + 1);
        CHECK(d.message.find('\n') == std::string::npos);
        CHECK(g_utf8_validate(d.message.data(), static_cast<gssize>(d.message.size()), nullptr));
        if (i > 0) {
            const check::Position& p = report.diagnostics[i - 1].position;
            CHECK(p.line < d.position.line ||
                  (p.line == d.position.line && p.column <= d.position.column));
        }
        refused = refused || d.rule == check::RuleId::Syntax || d.rule == check::RuleId::TooDeep;
    }
    if (refused)
        CHECK(report.diagnostics.size() == 1);

    const check::FixedText fixed = check::ApplyFixes(text, report.diagnostics);
    if (!fixed.applied.empty()) {
        g_autoptr(JsonParser) repaired = json_parser_new();
        CHECK(json_parser_load_from_data(repaired, fixed.text.data(),
                                         static_cast<gssize>(fixed.text.size()), nullptr));
    }

    check::RunSummary run;
    run.workingDirectory = "/fuzz";
    std::ostringstream outs[3];
    const check::Format formats[] = {check::Format::Text, check::Format::Github,
                                     check::Format::Sarif};
    for (size_t i = 0; i < 3; ++i) {
        const std::unique_ptr<check::Reporter> reporter = check::MakeReporter(formats[i], outs[i]);
        reporter->Add(report);
        reporter->Finish(run);
    }
    const std::string log = outs[2].str();
    g_autoptr(JsonParser) parser = json_parser_new();
    CHECK(json_parser_load_from_data(parser, log.data(), static_cast<gssize>(log.size()), nullptr));
    CHECK(g_utf8_validate(log.data(), static_cast<gssize>(log.size()), nullptr));
    return 0;
}
