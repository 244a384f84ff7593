// Where a run's files go and how their text is written: the profile table, the
// path rules under the resource root, and the stream helpers every output file
// is written with.
#pragma once

#include <fstream>
#include <string>
#include <string_view>

// The directory every output path is formed under. Defined once per program
// (ResourceRoot.cpp): "/usr/apps/tessaly/res/jsons" in the installed tool, a
// relative folder in the build that the tests run.
extern const char kResourceRoot[];

struct Profile {
    const char* key;  // looked for anywhere in the definition's path
    const char* dir;  // the profile's directory under the resource root
};

// The first profile, in table order, whose key occurs in `path`; null if none.
const Profile* FindProfile(const char* path);

// Path rules. Without a profile the helper and providers files have no path
// (empty) and per-menu files go to "<root>//<menu>.json".
std::string ProvidersFilePath(const std::string& root, const Profile* profile);
std::string HelperFilePath(const std::string& root, const Profile* profile);
std::string MenuFilePath(const std::string& root, const Profile* profile, std::string_view menu);

// Writes `text` as it is. A stream that failed drops it silently.
void Write(std::ofstream& out, std::string_view text);

// The value inside a match array text ("[v]" gives "v"); empty when the text
// is null or holds no match ("[]").
std::string_view UnwrapMatch(const char* text);

// A comma-separated list of entries written to a stream: a comma before every
// entry but the first, and the closing text once the list is complete.
class EntryList {
public:
    EntryList(std::ofstream& out, std::string_view closing) : m_out(out), m_closing(closing) {}
    // Starts an entry: writes the separating comma unless it is the first.
    std::ofstream& Next();
    void Close() { Write(m_out, m_closing); }

private:
    std::ofstream& m_out;
    std::string_view m_closing;
    bool m_first = true;
};
