// Lists what the record of effects says is written into which file, for the
// effects test to find in the files velkin-tool-test writes: one line per
// part recorded as written, whose name or string is its own text, as
// "<file in hex> <text in hex> <path>".
//   velkin-effects-list DEFINITION
#include <glib.h>

#include <cstdio>
#include <string>

#include "Document.h"
#include "Effects.h"
#include "GObjectPtr.h"

using namespace velkin;

namespace {

std::string Hex(const std::string& bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out.empty() ? "-" : out;
}

// The text a written part stands for in its file: a member's name, or a
// string element's value; empty for any other element.
std::string TextOf(const Effects& effects, size_t i, JsonNode* root)
{
    const Part& part = effects.parts[i];
    if (part.IsMember())
        return part.key;
    JsonNode* at = root;
    for (const Part* p : effects.PathOf(i))
        at = p->IsMember() ? MemberOf(at, p->key)
                           : json_array_get_element(AsArray(at), static_cast<guint>(p->index));
    const char* text = AsString(at);
    return text != nullptr ? text : std::string();
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: velkin-effects-list DEFINITION\n");
        return 2;
    }
    g_autofree gchar* text = nullptr;
    gsize length = 0;
    GObjectPtr<JsonParser> parser(json_parser_new());
    if (!g_file_get_contents(argv[1], &text, &length, nullptr) ||
        ParseDefinition(parser.get(), std::string_view(text, length)).status != LoadStatus::Loaded)
        return 0;
    JsonNode* root = json_parser_get_root(parser.get());
    const EffectiveMenu model = ComputeEffectiveMenu(root, argv[1]);
    const Effects effects = ComputeEffects(root, model);
    for (size_t i = 0; i < effects.parts.size(); ++i) {
        const Part& part = effects.parts[i];
        const std::string own = TextOf(effects, i, root);
        if (part.fate != Fate::Written || own.empty() || FileOf(model, part).empty())
            continue;
        std::string path;
        for (const Part* p : effects.PathOf(i))
            path += p->IsMember() ? "/" + Hex(p->key) : "[" + std::to_string(p->index) + "]";
        std::printf("%s %s %s\n", Hex(FileOf(model, part)).c_str(), Hex(own).c_str(), path.c_str());
    }
    return 0;
}
