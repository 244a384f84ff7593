#include "Viewer.h"

#include "Diff.h"
#include "DiffReport.h"
#include "DotView.h"
#include "HtmlView.h"
#include "JsonView.h"
#include "Source.h"
#include "TextView.h"

#ifndef VELKIN_VERSION
#define VELKIN_VERSION "0"
#endif

namespace tree {

namespace {

const char kUsage[] =
    "Usage: velkin-tree [OPTION]... DEFINITION|PROFILE_DIRECTORY\n"
    "       velkin-tree --diff [OPTION]... OLD NEW\n"
    "Draws the menu the device shows for a menu definition, or for a profile\n"
    "directory velkin-tool wrote, and compares two of them.\n"
    "\n"
    "  --format=text   an indented tree (default)\n"
    "  --format=json   the effective menu as JSON\n"
    "  --format=dot    a Graphviz graph (dot -Tsvg)\n"
    "  --format=html   one self-contained page with a search box\n"
    "  --output=FILE   write to FILE instead of standard output\n"
    "  --root=MENU     draw MENU and the menus it opens\n"
    "  --depth=N       draw N levels of entries below each root\n"
    "  --color=WHEN    colour the text: auto (on a terminal, the default), always, never\n"
    "  --definitions   text: below each amended entry, the members its amendment changed\n"
    "  --no-deleted    leave out the menus and entries \"menudelete\" removed\n"
    "  --diff          compare OLD with NEW (--format=text or json)\n"
    "  --stat          with --diff: a line per menu changed and the summary\n"
    "  --help          show this help and exit\n"
    "  --version       show the version and exit\n"
    "\n"
    "A path '-' reads a definition from standard input. Marks: + added, ~ amended,\n"
    "! no definition (placeholder), - deleted. Exit status: 0 drawn, or no difference; 1 the\n"
    "menus differ; 2 usage problem or input that cannot be read.\n";

Options Asked(Action action)
{
    Options options;
    options.action = action;
    return options;
}

Options Problem(const std::string& problem)
{
    Options options;
    options.action = Action::Usage;
    options.problem = problem;
    return options;
}

// A whole number of levels from 1; false for anything else.
bool ParseDepth(const std::string& value, size_t& depth)
{
    if (value.empty() || value.size() > 9 || value.find_first_not_of("0123456789") != std::string::npos)
        return false;
    depth = std::stoul(value);
    return depth > 0;
}

// Applies one option to `options`; false when it is not one.
bool Option(const std::string& arg, Options& options)
{
    static const std::pair<const char*, Format> kFormats[] = {{"text", Format::Text},
                                                              {"json", Format::Json},
                                                              {"dot", Format::Dot},
                                                              {"html", Format::Html}};
    const size_t eq = arg.find('=');
    const std::string name = arg.substr(0, eq);
    const std::string value = eq == std::string::npos ? "" : arg.substr(eq + 1);
    if (name == "--output" && eq != std::string::npos && !value.empty()) {
        options.output = value;
        return true;
    }
    if (name == "--root" && eq != std::string::npos && !value.empty()) {
        options.scope.root = value;
        return true;
    }
    if (name == "--depth")
        return ParseDepth(value, options.scope.depth);
    for (const auto& [text, format] : kFormats)
        if (name == "--format" && value == text)
            return options.format = format, true;
    const std::optional<cli::ColorWhen> color = cli::ParseColorWhen(value);
    if (name != "--color" || !color)
        return false;
    options.color = *color;
    return true;
}

Options Checked(Options options)
{
    const bool diff = options.action == Action::Diff;
    if (diff && options.paths.size() != 2)
        return Problem("--diff compares two paths, OLD and NEW");
    if (!diff && options.paths.size() != 1)
        return Problem(options.paths.empty() ? "no definition or profile directory given"
                                             : "one definition or profile directory at a time");
    if (diff && (options.format == Format::Dot || options.format == Format::Html))
        return Problem("--diff writes text or json");
    if (options.stat && (!diff || options.format != Format::Text))
        return Problem("--stat goes with --diff, as text");
    if (options.definitions && (diff || options.format != Format::Text))
        return Problem("--definitions goes with --format=text");
    if (diff && !options.scope.Whole())
        return Problem("--root and --depth draw a part; --diff compares whole menus");
    return options;
}

std::string Rendered(const velkin::EffectiveMenu& model, const Options& options, bool color)
{
    switch (options.format) {
    case Format::Json: return RenderJson(model);
    case Format::Dot: return RenderDot(model, options.paths[0]);
    case Format::Html: return RenderHtml(model, options.paths[0]);
    case Format::Text: break;
    }
    return RenderText(model, color, options.definitions);
}

// The drawing of the part of `model` asked for; one line on standard error
// and nothing drawn for a menu not written, or a graph too large to lay out.
Result Drawn(const velkin::EffectiveMenu& model, const Options& options, bool color)
{
    Result result;
    velkin::EffectiveMenu part;
    std::string error;
    const velkin::EffectiveMenu* drawn = &model;
    if (!options.scope.Whole()) {
        if (!ScopedMenu(model, options.scope, part, error)) {
            result.err = "velkin-tree: " + options.paths[0] + ": " + error + "\n";
            result.status = kTrouble;
            return result;
        }
        drawn = &part;
    }
    const size_t nodes = DotNodeCount(*drawn);
    if (options.format == Format::Dot && nodes > kMaxDotNodes) {
        result.err = "velkin-tree: " + options.paths[0] + ": " + std::to_string(nodes) +
                     " nodes, more than Graphviz lays out in good time (" +
                     std::to_string(kMaxDotNodes) + "): draw a part with --root=MENU or --depth=N\n";
        result.status = kTrouble;
        return result;
    }
    result.out = Rendered(*drawn, options, color);
    return result;
}

// Loads every path; false, with the reasons in `result`, when one fails.
bool LoadAll(const std::vector<std::string>& paths, std::vector<Loaded>& loaded, Result& result)
{
    bool ok = true;
    for (const std::string& path : paths) {
        Loaded one;
        std::string error;
        if (!LoadMenus(path, one, error)) {
            result.err += "velkin-tree: " + error + "\n";
            ok = false;
        }
        for (const std::string& warning : one.warnings)
            result.err += "velkin-tree: warning: " + warning + "\n";
        loaded.push_back(std::move(one));
    }
    return ok;
}

}  // namespace

Options ParseArguments(const std::vector<std::string>& args)
{
    Options options;
    bool optionsEnd = false;
    for (const std::string& arg : args) {
        if (optionsEnd || arg == "-" || arg.empty() || arg[0] != '-')
            options.paths.push_back(arg);
        else if (arg == "--")
            optionsEnd = true;
        else if (arg == "--help" || arg == "--version")
            return Asked(arg == "--help" ? Action::Help : Action::Version);
        else if (arg == "--diff")
            options.action = Action::Diff;
        else if (arg == "--stat")
            options.stat = true;
        else if (arg == "--no-deleted")
            options.noDeleted = true;
        else if (arg == "--definitions")
            options.definitions = true;
        else if (!Option(arg, options))
            return Problem("unknown option or value '" + arg + "'");
    }
    return Checked(options);
}

Result Run(const Options& options, bool color)
{
    Result result;
    switch (options.action) {
    case Action::Help: result.out = kUsage; return result;
    case Action::Version: result.out = "velkin-tree " VELKIN_VERSION "\n"; return result;
    case Action::Usage:
        result.err = cli::UsageMessage("velkin-tree", options.problem);
        result.status = kTrouble;
        return result;
    case Action::Draw:
    case Action::Diff: break;
    }
    if (NamesAnInput(options.output, options.paths))
        return Run(Problem("--output=" + options.output + " would overwrite an input"), color);
    std::vector<Loaded> loaded;
    if (!LoadAll(options.paths, loaded, result)) {
        result.status = kTrouble;
        return result;
    }
    // Every view draws the deletions from these records: without them, none does.
    if (options.noDeleted)
        for (Loaded& one : loaded) {
            one.model.deletedEntries.clear();
            one.model.deletedMenus.clear();
        }
    if (options.action == Action::Draw) {
        Result drawn = Drawn(loaded[0].model, options, color);
        drawn.err = result.err + drawn.err;  // the warnings of loading first
        return drawn;
    }
    const MenuDiff diff = CompareMenus(loaded[0].model, loaded[1].model);
    result.out = options.format == Format::Json ? DiffJson(diff) : DiffText(diff, color, options.stat);
    result.status = diff.Equal() ? kSuccess : kDiffer;
    return result;
}

}  // namespace tree
