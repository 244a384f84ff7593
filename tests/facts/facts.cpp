// Prints the definition format's facts as format/ states them, for the files
// that are not C++ and must repeat some of them: the scripts that build
// scratch resource roots take the profile directories from here, and the
// facts test compares every other copy with this output.
//   velkin-facts                  all facts, one JSON object
//   velkin-facts profile-dirs     the profile directories, one a line
//   velkin-facts resource-root    the installed tool's resource root
//   velkin-facts identifiers      for each line of stdin "<item> <menu>": yes
//                                 or no, as an item identifier and as a menu name
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "Decisions.h"
#include "Facts.h"
#include "Identifiers.h"
#include "Profiles.h"

using namespace velkin;

namespace {

// The longest identifier whose item lookup fits its buffer.
const size_t kLongest = LongestUncutIdentifier(kDriverQuerySize, kItemQuery);

bool IsIdentifier(const std::string& id)
{
    return IsPlainIdentifier(id) && !FormatQuery(kDriverQuerySize, kItemQuery, id.c_str()).cut;
}

bool IsMenuName(const std::string& id)
{
    return IsIdentifier(id) && !IsReservedMenuName(id) && !IsUnsafeMenuFileName(id);
}

// A JSON string of a fact: facts hold no control character.
std::string Quote(std::string_view s)
{
    std::string out = "\"";
    for (char c : s)
        out += c == '"' || c == '\\' ? std::string("\\") + c : std::string(1, c);
    return out + "\"";
}

template <typename Strings>
std::string Array(const Strings& strings)
{
    std::string out;
    for (std::string_view s : strings)
        out += (out.empty() ? "" : ", ") + Quote(s);
    return "[" + out + "]";
}

void PrintFacts()
{
    std::string profiles, reserved;
    for (const Profile& p : kProfiles)
        profiles += std::string(profiles.empty() ? "" : ", ") + "{\"key\": " + Quote(p.key) +
                    ", \"dir\": " + Quote(p.dir) + "}";
    std::vector<std::string> names;
    for (std::string_view file : {kHelperFile, kProvidersFile})
        if (IsReservedMenuName(file.substr(0, file.size() - std::strlen(kMenuFileSuffix))))
            names.emplace_back(file.substr(0, file.size() - std::strlen(kMenuFileSuffix)));
    std::printf("{\"profiles\": [%s],\n", profiles.c_str());
    std::printf(" \"resourceRoot\": %s, \"helperFile\": %s, \"providersFile\": %s,\n",
                Quote(kSystemResourceRoot).c_str(), Quote(kHelperFile).c_str(),
                Quote(kProvidersFile).c_str());
    std::printf(" \"reservedMenuNames\": %s, \"parentItem\": %s,\n", Array(names).c_str(),
                Quote(kParentItem).c_str());
    std::printf(
        " \"members\": {\"root\": %s, \"node\": %s, \"group\": %s, \"editList\": %s,"
        " \"addEntry\": %s},\n",
        Array(kRootMembers).c_str(), Array(kNodeMembers).c_str(), Array(kGroupMembers).c_str(),
        Array(kEditListMembers).c_str(), Array(kAddEntryMembers).c_str());
    std::printf(" \"querySizes\": [%zu, %zu, %zu], \"longestIdentifier\": %zu,\n", kDriverQuerySize,
                kLookupQuerySize, kGroupQuerySize, kLongest);
    std::printf(" \"maxGroups\": %d, \"indentLevels\": %s, \"maxNesting\": %ld,\n", kMaxGroups,
                Array(kIndentLevels).c_str(), kMaxNesting);
    std::printf(" \"placeholder\": %s, \"modifyMarker\": %s}\n",
                Quote(kPlaceholderDefinition).c_str(), Quote(kModifyMarker).c_str());
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
