// Writes what the effective menu says the splitter writes for a definition,
// for the model test to compare with velkin-tool-test.
//   velkin-model-render DEFINITION RESOURCE_ROOT
#include <glib.h>

#include <cstdio>

#include "Document.h"
#include "GObjectPtr.h"
#include "ModelFiles.h"

using namespace velkin;

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: velkin-model-render DEFINITION RESOURCE_ROOT\n");
        return 2;
    }
    std::printf("Initial Json[%s] \n", argv[1]);
    g_autofree gchar* text = nullptr;
    gsize length = 0;
    GObjectPtr<JsonParser> parser(json_parser_new());
    if (!g_file_get_contents(argv[1], &text, &length, nullptr) ||
        ParseDefinition(parser.get(), std::string_view(text, length)).status != LoadStatus::Loaded)
        return 0;
    std::string out;
    const bool agree = RenderModelFiles(
        ComputeEffectiveMenu(json_parser_get_root(parser.get()), argv[1]), argv[2], out);
    std::fputs(out.c_str(), stdout);
    if (!agree)
        std::fprintf(stderr, "a menu's entries disagree with its file\n");
    return agree ? 0 : 1;
}
