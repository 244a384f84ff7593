// The device profiles and the paths of the files a run writes for one.
#pragma once

#include <string>
#include <string_view>

namespace velkin {

struct Profile {
    const char* key;  // looked for anywhere in the definition's path
    const char* dir;  // the profile's directory under the resource root
};

// Every profile, in the order the keys are tested.
inline constexpr Profile kProfiles[] = {
    {"menu-tv.json", "tv"},
    {"menu-non-smart-monitor.json", "nonsmartmonitor"},
    {"menu-htv.json", "htv"},
    {"menu-lfd.json", "lfd"},
};

// The first profile, in table order, whose key occurs in `path`; null if none.
const Profile* FindProfile(const char* path);

// Path rules. Without a profile the helper and providers files have no path
// (empty) and per-menu files go to "<root>//<menu>.json".
std::string ProvidersFilePath(const std::string& root, const Profile* profile);
std::string HelperFilePath(const std::string& root, const Profile* profile);
std::string MenuFilePath(const std::string& root, const Profile* profile, std::string_view menu);

// A menu whose file is a profile file of its own: "helper", "providers".
bool IsReservedMenuName(std::string_view menu);
// A menu whose file name leaves the profile directory, or names none: empty,
// ".", "..", or holding a slash.
bool IsUnsafeMenuFileName(std::string_view menu);

}  // namespace velkin
