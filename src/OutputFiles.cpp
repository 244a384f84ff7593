#include "OutputFiles.h"

#include <cstring>

namespace {

// Tested in this order; the first key found in the path selects the profile.
const Profile kProfiles[] = {
    {"menu-tv.json", "tv"},
    {"menu-non-smart-monitor.json", "nonsmartmonitor"},
    {"menu-htv.json", "htv"},
    {"menu-lfd.json", "lfd"},
};

std::string ProfileFilePath(const std::string& root, const Profile* profile, const char* name)
{
    if (profile == nullptr)
        return std::string();
    return root + "/" + profile->dir + "/" + name;
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
    return ProfileFilePath(root, profile, "providers.json");
}

std::string HelperFilePath(const std::string& root, const Profile* profile)
{
    return ProfileFilePath(root, profile, "helper.json");
}

std::string MenuFilePath(const std::string& root, const Profile* profile, std::string_view menu)
{
    std::string path = root + "/" + (profile != nullptr ? profile->dir : "") + "/";
    path += menu;
    path += ".json";
    return path;
}

void Write(std::ofstream& out, std::string_view text)
{
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

std::string_view UnwrapMatch(const char* text)
{
    const size_t n = text != nullptr ? std::strlen(text) : 0;
    if (n <= 2)
        return std::string_view();
    return std::string_view(text + 1, n - 2);
}

std::ofstream& EntryList::Next()
{
    if (!m_first)
        Write(m_out, ",");
    m_first = false;
    return m_out;
}
