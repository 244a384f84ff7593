// Prints the definition format's facts as format/ states them, for the files
// that are not C++ and must repeat some of them: the scripts that build
// scratch resource roots take the profile directories from here, and the
// facts test compares every other copy with this output.
//   velkin-facts                  all facts, one JSON object
//   velkin-facts profile-dirs     the profile directories, one a line
//   velkin-facts resource-root    the installed tool's resource root
//   velkin-facts identifiers      for each line of stdin, "<identifier> <menu>":
//                                 yes/no as an item identifier, as a menu name
#include <json-glib/json-glib.h>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "Facts.h"
#include "GObjectPtr.h"
#include "Identifiers.h"
#include "Profiles.h"

using namespace velkin;

namespace {

// The length of the longest identifier whose item lookup fits its buffer.
size_t LongestIdentifier()
{
    return kDriverQuerySize - 1 - static_cast<size_t>(std::snprintf(nullptr, 0, kItemQuery, ""));
}

bool IsIdentifier(const std::string& id)
{
    return IsPlainIdentifier(id) && id.size() <= LongestIdentifier();
}

bool IsMenuName(const std::string& id)
{
    return IsIdentifier(id) && !IsReservedMenuName(id) && !IsUnsafeMenuFileName(id);
}

template <typename Strings>
void AddStrings(JsonBuilder* b, const char* name, const Strings& strings)
{
    json_builder_set_member_name(b, name);
    json_builder_begin_array(b);
    for (std::string_view s : strings)
        json_builder_add_string_value(b, std::string(s).c_str());
    json_builder_end_array(b);
}

void AddString(JsonBuilder* b, const char* name, const char* value)
{
    json_builder_set_member_name(b, name);
    json_builder_add_string_value(b, value);
}

void AddInt(JsonBuilder* b, const char* name, long value)
{
    json_builder_set_member_name(b, name);
    json_builder_add_int_value(b, value);
}

void AddProfiles(JsonBuilder* b)
{
    json_builder_set_member_name(b, "profiles");
    json_builder_begin_array(b);
    for (const Profile& p : kProfiles) {
        json_builder_begin_object(b);
        AddString(b, "key", p.key);
        AddString(b, "dir", p.dir);
        json_builder_end_object(b);
    }
    json_builder_end_array(b);
}

void AddMembers(JsonBuilder* b)
{
    json_builder_set_member_name(b, "members");
    json_builder_begin_object(b);
    AddStrings(b, "root", kRootMembers);
    AddStrings(b, "node", kNodeMembers);
    AddStrings(b, "group", kGroupMembers);
    AddStrings(b, "editList", kEditListMembers);
    AddStrings(b, "addEntry", kAddEntryMembers);
    json_builder_end_object(b);
    AddString(b, "parentItem", kParentItem);
}

void AddFiles(JsonBuilder* b)
{
    AddString(b, "resourceRoot", kSystemResourceRoot);
    AddString(b, "helperFile", kHelperFile);
    AddString(b, "providersFile", kProvidersFile);
    AddString(b, "menuFileSuffix", kMenuFileSuffix);
    std::vector<std::string> reserved;
    for (std::string_view file : {kHelperFile, kProvidersFile}) {
        const std::string stem(file.substr(0, file.size() - std::strlen(kMenuFileSuffix)));
        if (IsReservedMenuName(stem))
            reserved.push_back(stem);
    }
    AddStrings(b, "reservedMenuNames", reserved);
}

void AddLimits(JsonBuilder* b)
{
    json_builder_set_member_name(b, "querySizes");
    json_builder_begin_object(b);
    AddInt(b, "driver", kDriverQuerySize);
    AddInt(b, "lookup", kLookupQuerySize);
    AddInt(b, "group", kGroupQuerySize);
    json_builder_end_object(b);
    AddInt(b, "longestIdentifier", static_cast<long>(LongestIdentifier()));
    AddInt(b, "maxGroups", kMaxGroups);
    AddStrings(b, "indentLevels", kIndentLevels);
    AddInt(b, "maxNesting", kMaxNesting);
    AddString(b, "placeholder", kPlaceholderDefinition);
    AddString(b, "modifyMarker", kModifyMarker);
}

void PrintFacts()
{
    GObjectPtr<JsonBuilder> b(json_builder_new());
    json_builder_begin_object(b.get());
    AddProfiles(b.get());
    AddFiles(b.get());
    AddMembers(b.get());
    AddLimits(b.get());
    json_builder_end_object(b.get());
    JsonNode* root = json_builder_get_root(b.get());
    GObjectPtr<JsonGenerator> generator(json_generator_new());
    json_generator_set_pretty(generator.get(), TRUE);
    json_generator_set_root(generator.get(), root);
    g_autofree gchar* text = json_generator_to_data(generator.get(), nullptr);
    std::puts(text);
    json_node_unref(root);
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string what = argc == 2 ? argv[1] : "";
    if (argc == 1) {
        PrintFacts();
    } else if (what == "profile-dirs") {
        for (const Profile& p : kProfiles)
            std::puts(p.dir);
    } else if (what == "resource-root") {
        std::puts(kSystemResourceRoot);
    } else if (what == "identifiers") {
        for (std::string id; std::getline(std::cin, id);)
            std::printf("%s %s\n", IsIdentifier(id) ? "yes" : "no", IsMenuName(id) ? "yes" : "no");
    } else {
        std::fprintf(stderr, "usage: velkin-facts [profile-dirs|resource-root|identifiers]\n");
        return 2;
    }
    return 0;
}
