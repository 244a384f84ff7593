#include "Source.h"

#include <glib.h>

#include <cstring>
#include <iostream>
#include <iterator>

#include "Document.h"
#include "Facts.h"
#include "GObjectPtr.h"
#include "Identifiers.h"
#include "ProfileDirectory.h"

namespace tree {

namespace {

bool ReadInput(const std::string& path, std::string& text, std::string& error)
{
    if (path == kStandardInput) {
        text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
        if (std::cin.bad()) {
            error = "standard input: cannot be read";
            return false;
        }
        return true;
    }
    g_autofree gchar* contents = nullptr;
    gsize length = 0;
    g_autoptr(GError) failure = nullptr;
    if (!g_file_get_contents(path.c_str(), &contents, &length, &failure)) {
        // GLib's message names the file itself; keep only the reason.
        const char* reason = std::strrchr(failure->message, ':');
        error = path + ": " + (reason != nullptr ? reason + 2 : failure->message);
        return false;
    }
    text.assign(contents, length);
    return true;
}

}  // namespace

bool LoadDefinition(std::string_view text, const std::string& path, velkin::EffectiveMenu& model,
                    std::string& error)
{
    GObjectPtr<JsonParser> parser(json_parser_new());
    const velkin::LoadResult result = velkin::ParseDefinition(parser.get(), text);
    switch (result.status) {
    case velkin::LoadStatus::Loaded: break;
    case velkin::LoadStatus::TooDeep:
        error = path + ": arrays and objects nested deeper than " +
                std::to_string(velkin::kMaxNesting) + " levels (byte " +
                std::to_string(result.tooDeepAt + 1) + ")";
        return false;
    case velkin::LoadStatus::Syntax:
        error = path + ": not a JSON document: " + velkin::OneLine(result.message);
        return false;
    case velkin::LoadStatus::Empty: error = path + ": empty document"; return false;
    }
    model = velkin::ComputeEffectiveMenu(json_parser_get_root(parser.get()), path.c_str());
    return true;
}

bool LoadMenus(const std::string& path, Loaded& out, std::string& error)
{
    if (path != kStandardInput && g_file_test(path.c_str(), G_FILE_TEST_IS_DIR)) {
        velkin::DirectoryRead read;
        const bool ok = velkin::ReadProfileDirectory(path, read, error);
        for (const std::string& file : read.leftOut)
            out.warnings.push_back(path + "/" + file + " (left out)");
        out.model = std::move(read.model);
        return ok;
    }
    std::string text;
    return ReadInput(path, text, error) && LoadDefinition(text, path, out.model, error);
}

}  // namespace tree
