#include "Profiles.h"

#include <cstring>

#include "Facts.h"

namespace velkin {

namespace {

std::string ProfileFilePath(const std::string& root, const Profile* profile, const char* name)
{
    if (profile == nullptr)
        return std::string();
    return root + "/" + profile->dir + "/" + name;
}

// The menu name whose file would be `file` ("helper.json" gives "helper").
std::string_view MenuNameOf(std::string_view file)
{
    return file.substr(0, file.size() - std::strlen(kMenuFileSuffix));
}

}  // namespace

const Profile* FindProfile(const char* path)
{
    for (const Profile& profile : kProfiles)
        if (std::strstr(path, profile.key) != nullptr)
            return &profile;
    return nullptr;
}

std::string ProvidersFilePath(const std::string& root, const Profile* profile)
{
    return ProfileFilePath(root, profile, kProvidersFile);
}

std::string HelperFilePath(const std::string& root, const Profile* profile)
{
    return ProfileFilePath(root, profile, kHelperFile);
}

std::string MenuFilePath(const std::string& root, const Profile* profile, std::string_view menu)
{
    std::string path = root + "/" + (profile != nullptr ? profile->dir : "") + "/";
    path += menu;
    path += kMenuFileSuffix;
    return path;
}

bool IsReservedMenuName(std::string_view menu)
{
    return menu == MenuNameOf(kHelperFile) || menu == MenuNameOf(kProvidersFile);
}

bool IsUnsafeMenuFileName(std::string_view menu)
{
    return menu.empty() || menu == "." || menu == ".." || menu.find('/') != std::string_view::npos;
}

}  // namespace velkin
