// velkin-tree: draws the menu the device will show for a menu definition or a
// profile directory, and what a change does to it. Exit status: 0 drawn or
// no difference, 1 the menus differ (--diff), 2 usage problem or bad input.
#include <glib.h>

#include <cstdio>
#include <string>
#include <vector>

#include "Viewer.h"

namespace {

// Writes the whole result at once, so that a failure leaves no partial drawing.
bool Emit(const std::string& text, const std::string& output)
{
    if (output.empty())
        return std::fwrite(text.data(), 1, text.size(), stdout) == text.size() &&
               std::fflush(stdout) == 0;
    g_autoptr(GError) error = nullptr;
    if (g_file_set_contents(output.c_str(), text.data(), static_cast<gssize>(text.size()), &error))
        return true;
    std::fprintf(stderr, "velkin-tree: %s\n", error->message);
    return false;
}

}  // namespace

int main(int argc, char** argv)
{
    const tree::Options options =
        tree::ParseArguments(std::vector<std::string>(argv + 1, argv + argc));
    const bool color = cli::UseColorOnStdout(options.color, options.output.empty());
    const tree::Result result = tree::Run(options, color);
    std::fputs(result.err.c_str(), stderr);
    if (result.status == tree::kTrouble)
        return result.status;
    if (!Emit(result.out, options.output))
        return tree::kTrouble;
    return result.status;
}
