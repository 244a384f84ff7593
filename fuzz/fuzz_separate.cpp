// One whole separation run with the fuzzer's bytes as the menu definition. On
// top of the sanitizers and the GLib check: when the definition's identifiers
// are plain names, every file written is valid JSON and lies in the profile's
// directory.
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "FuzzSupport.h"
#include "JsonTool.h"

namespace fs = std::filesystem;

namespace {

fs::path g_dir;  // the definition, and the resource root under res/

class ScratchTool : public JsonTool {
public:
    explicit ScratchTool(const fs::path& root) { m_ResourceRoot = root.string(); }
};

// A name that can go into a JSONPath, an output text and a file name unchanged.
bool Plain(const char* s)
{
    for (; *s != '\0'; ++s)
        if (static_cast<unsigned char>(*s) < 0x20 || std::strchr("\"\\.[]*/", *s) != nullptr)
            return false;
    return true;
}

// The member names of `node` are plain and, with `deep`, all names and strings below it.
bool AllPlain(JsonNode* node, bool deep)
{
    bool plain = true;
    if (JSON_NODE_HOLDS_OBJECT(node)) {
        JsonObject* object = json_node_get_object(node);
        GList* names = json_object_get_members(object);
        for (GList* l = names; l != nullptr && plain; l = l->next) {
            const char* name = static_cast<const char*>(l->data);
            plain = Plain(name) && (!deep || AllPlain(json_object_get_member(object, name), true));
        }
        g_list_free(names);
    } else if (deep && JSON_NODE_HOLDS_ARRAY(node)) {
        JsonArray* array = json_node_get_array(node);
        for (guint i = 0; plain && i < json_array_get_length(array); ++i)
            plain = AllPlain(json_array_get_element(array, i), true);
    } else if (deep && json_node_get_value_type(node) == G_TYPE_STRING) {
        plain = Plain(json_node_get_string(node));
    }
    return plain;
}

// Plain: everything under the members that steer the run, and the names of
// the items and amendments.
bool PlainIdentifiers(const fs::path& path)
{
    g_autoptr(JsonParser) parser = json_parser_new();
    if (!json_parser_load_from_file(parser, path.c_str(), nullptr))
        return false;
    JsonNode* root = json_parser_get_root(parser);
    if (root == nullptr || !JSON_NODE_HOLDS_OBJECT(root))
        return true;
    for (const char* key : {"menutree", "menudelete", "menuadd", "menumodify", "menuaddinfo",
                            "menuitems", "menumodifyinfo"}) {
        JsonNode* member = json_object_get_member(json_node_get_object(root), key);
        const bool namesOnly = !std::strcmp(key, "menuitems") || !std::strcmp(key, "menumodifyinfo");
        if (member != nullptr && !AllPlain(member, !namesOnly))
            return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    std::string dir = (fs::temp_directory_path() / "velkin-fuzz-XXXXXX").string();
    if (mkdtemp(dir.data()) == nullptr)
        std::abort();
    g_dir = dir;
    for (const char* profile : {"tv", "htv", "lfd", "nonsmartmonitor"})
        fs::create_directories(g_dir / "res" / profile);
    std::atexit([] { fs::remove_all(g_dir); });
    dup2(open("/dev/null", O_WRONLY), STDOUT_FILENO);  // progress lines are not checked here
    FailOnGLibWarning();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const fs::path input = g_dir / "menu-tv.json", res = g_dir / "res";
    std::ofstream(input, std::ios::binary).write(reinterpret_cast<const char*>(data), size);
    ScratchTool(res).SeparateJsonFile(input.c_str());
    std::fflush(stdout);

    std::vector<fs::path> written;
    for (const auto& entry : fs::recursive_directory_iterator(res))
        if (!entry.is_directory())
            written.push_back(entry.path());
    const bool check = !written.empty() && PlainIdentifiers(input);
    for (const fs::path& file : written) {
        std::ifstream in(file, std::ios::binary);
        const std::string text{std::istreambuf_iterator<char>(in), {}};
        if (check && (file.parent_path() != res / "tv" || !StrictJson(text))) {
            std::fprintf(stderr, "bad output file %s:\n%.400s\n", file.c_str(), text.c_str());
            std::abort();
        }
        fs::remove(file);
    }
    return 0;
}
