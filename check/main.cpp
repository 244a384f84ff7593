// velkin-check: reports what the splitter would silently do wrong with a menu
// definition. Exit status: 0 without errors, 1 with errors (or warnings under
// --werror), 2 for a usage problem or an unreadable file.
#include <glib.h>

#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "Report.h"
#include "Check.h"

namespace {

const char kUsage[] =
    "Usage: velkin-check [--format=text|sarif] [--werror] FILE...\n"
    "Checks menu definitions for what velkin-tool silently tolerates.\n"
    "\n"
    "  --format=text   FILE:LINE:COLUMN: error|warning: MESSAGE [RULE] (default)\n"
    "  --format=sarif  one SARIF 2.1.0 document on standard output\n"
    "  --werror        exit with status 1 on warnings too\n"
    "  --help          show this help and exit\n"
    "  --version       show the version and exit\n"
    "\n"
    "Exit status: 0 no error, 1 errors (or warnings with --werror), 2 usage problem\n"
    "or unreadable file. The rules are listed in velkin-check(1).\n";

int Usage(const std::string& problem)
{
    std::cerr << "velkin-check: " << problem << "\n"
              << "Try 'velkin-check --help'.\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    bool sarif = false;
    bool werror = false;
    bool options = true;
    std::vector<std::string> paths;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (options && arg == "--") {
            options = false;
        } else if (options && arg == "--help") {
            std::cout << kUsage;
            return 0;
        } else if (options && arg == "--version") {
            std::cout << "velkin-check " VELKIN_VERSION "\n";
            return 0;
        } else if (options && arg == "--werror") {
            werror = true;
        } else if (options && arg.rfind("--format=", 0) == 0) {
            const std::string format = arg.substr(std::strlen("--format="));
            if (format == "sarif")
                sarif = true;
            else if (format == "text")
                sarif = false;
            else
                return Usage("unknown format '" + format + "'");
        } else if (options && arg.size() > 1 && arg[0] == '-') {
            return Usage("unknown option '" + arg + "'");
        } else {
            paths.push_back(arg);
        }
    }
    if (paths.empty())
        return Usage("no file to check");

    int status = 0;
    std::vector<check::FileReport> reports;
    for (const std::string& path : paths) {
        g_autofree gchar* text = nullptr;
        gsize length = 0;
        GError* error = nullptr;
        if (!g_file_get_contents(path.c_str(), &text, &length, &error)) {
            // GLib's message names the file itself; keep only the reason.
            const char* reason = std::strrchr(error->message, ':');
            std::cerr << "velkin-check: " << path << ": "
                      << (reason != nullptr ? reason + 2 : error->message) << "\n";
            g_error_free(error);
            status = 2;
            continue;
        }
        check::FileReport report{path, check::CheckDefinition(path.c_str(), {text, length})};
        for (const check::Diagnostic& d : report.diagnostics) {
            const bool isError = check::RuleOf(d.rule).severity == check::Severity::Error;
            if ((isError || werror) && status == 0)
                status = 1;
        }
        if (!sarif)
            check::WriteText(std::cout, report);
        reports.push_back(std::move(report));
    }
    if (sarif)
        check::WriteSarif(std::cout, reports, VELKIN_VERSION);
    return status;
}
