// One whole separation run with the fuzzer's bytes as the menu definition. On
// top of the sanitizers and the GLib check: the files are those the effective
// menu says the splitter writes, byte for byte; and when the definition's
// identifiers are plain names, every file written is valid JSON and lies in
// the profile's directory.
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <vector>

#include "Document.h"
#include "Facts.h"
#include "FuzzSupport.h"
#include "Identifiers.h"
#include "JsonTool.h"
#include "ModelFiles.h"
#include "Profiles.h"

namespace fs = std::filesystem;
using namespace velkin;

namespace {

fs::path g_dir;  // the definition, the resource root under res/, the model's under model/

class ScratchTool : public JsonTool {
public:
    explicit ScratchTool(const fs::path& root) { m_ResourceRoot = root.string(); }
};


// The member names of `node` are plain and, with `deep`, all names and strings below it.
bool AllPlain(JsonNode* node, bool deep)
{
    bool plain = true;
    if (JSON_NODE_HOLDS_OBJECT(node)) {
        JsonObject* object = json_node_get_object(node);
        GList* names = json_object_get_members(object);
        for (GList* l = names; l != nullptr && plain; l = l->next) {
            const char* name = static_cast<const char*>(l->data);
            plain = IsPlainIdentifier(name) &&
                    (!deep || AllPlain(json_object_get_member(object, name), true));
        }
        g_list_free(names);
    } else if (deep && JSON_NODE_HOLDS_ARRAY(node)) {
        JsonArray* array = json_node_get_array(node);
        for (guint i = 0; plain && i < json_array_get_length(array); ++i)
            plain = AllPlain(json_array_get_element(array, i), true);
    } else if (deep && json_node_get_value_type(node) == G_TYPE_STRING) {
        plain = IsPlainIdentifier(json_node_get_string(node));
    }
    return plain;
}

// Plain: everything under the members that steer the run, and the names of
// the items and amendments; menus also name files of their own.
bool PlainIdentifiers(const fs::path& path)
{
    g_autoptr(JsonParser) parser = json_parser_new();
    if (!json_parser_load_from_file(parser, path.c_str(), nullptr))
        return false;
    JsonNode* root = json_parser_get_root(parser);
    if (root == nullptr || !JSON_NODE_HOLDS_OBJECT(root))
        return true;
    for (const char* key : {kMenuTree, kMenuDelete, kMenuAdd, kMenuModify, kMenuAddInfo, kMenuItems,
                            kMenuModifyInfo}) {
        JsonNode* member = json_object_get_member(json_node_get_object(root), key);
        const bool namesOnly = key == kMenuItems || key == kMenuModifyInfo;
        if (member != nullptr && !AllPlain(member, !namesOnly))
            return false;
    }
    JsonObject* tree = AsObject(MemberOf(root, kMenuTree));
    for (const std::string& menu : tree != nullptr ? MemberNames(tree) : std::vector<std::string>())
        if (IsUnsafeMenuFileName(menu) || IsReservedMenuName(menu))
            return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    std::string dir = (fs::temp_directory_path() / "velkin-fuzz-XXXXXX").string();
    if (mkdtemp(dir.data()) == nullptr)
        std::abort();
    g_dir = dir;
    for (const Profile& profile : kProfiles)
        for (const char* root : {"res", "model"})
            fs::create_directories(g_dir / root / profile.dir);
    std::atexit([] { fs::remove_all(g_dir); });
    dup2(open("/dev/null", O_WRONLY), STDOUT_FILENO);  // progress lines are not checked here
    FailOnGLibWarning();
    return 0;
}

namespace {

// The text of every file under `root`, by its path below it; the files are removed.
std::map<fs::path, std::string> TakeFiles(const fs::path& root)
{
    std::map<fs::path, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.is_directory())
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        files[fs::relative(entry.path(), root)] = std::string{std::istreambuf_iterator<char>(in), {}};
    }
    for (const auto& [path, text] : files)
        fs::remove(root / path);
    return files;
}

// What the effective menu says the run writes, under model/.
std::map<fs::path, std::string> ModelFiles(const fs::path& input)
{
    g_autoptr(JsonParser) parser = json_parser_new();
    g_autofree gchar* text = nullptr;
    gsize length = 0;
    if (g_file_get_contents(input.c_str(), &text, &length, nullptr) &&
        ParseDefinition(parser, std::string_view(text, length)).status == LoadStatus::Loaded) {
        std::string out;
        RenderModelFiles(ComputeEffectiveMenu(json_parser_get_root(parser), input.c_str()),
                         (g_dir / "model").string(), out);
    }
    return TakeFiles(g_dir / "model");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const fs::path input = g_dir / "menu-tv.json", res = g_dir / "res";
    std::ofstream(input, std::ios::binary).write(reinterpret_cast<const char*>(data), size);
    ScratchTool(res).SeparateJsonFile(input.c_str());
    std::fflush(stdout);

    const std::map<fs::path, std::string> written = TakeFiles(res);
    if (written != ModelFiles(input)) {
        std::fprintf(stderr, "the files written differ from the effective menu's\n");
        std::abort();
    }
    const bool check = !written.empty() && PlainIdentifiers(input);
    for (const auto& [file, text] : written) {
        if (check && (file.parent_path() != "tv" || !StrictJson(text))) {
            std::fprintf(stderr, "bad output file %s:\n%.400s\n", file.c_str(), text.c_str());
            std::abort();
        }
    }
    return 0;
}
