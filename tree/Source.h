// What the viewer draws, loaded from a path: a menu definition, read once and
// parsed as the splitter parses it, gives its effective menu; a directory is
// read back as a profile directory the splitter wrote.
#pragma once

#include <json-glib/json-glib.h>

#include <string>
#include <thread>
#include <string_view>
#include <vector>

#include "EffectiveMenu.h"

namespace tree {

// Standard input, as a path.
inline constexpr char kStandardInput[] = "-";

// Releases a parsed definition on a thread of its own, so that drawing need
// not wait for it; the destructor waits for the release to finish.
class BackgroundRelease {
public:
    BackgroundRelease() = default;
    BackgroundRelease(BackgroundRelease&&) = default;
    BackgroundRelease& operator=(BackgroundRelease&&) = delete;
    ~BackgroundRelease();
    void Release(JsonParser* parser);

private:
    std::thread m_thread;
};

struct Loaded {
    velkin::EffectiveMenu model;
    std::vector<std::string> warnings;  // one line each: files left out of a directory
    // The definition's parsed document, being released while the model is
    // drawn. Destroyed first: the model is freed after it, as two threads
    // freeing at once only wait on each other.
    BackgroundRelease parsed;
};

// False, with one line saying why (the path first), when nothing can be drawn.
bool LoadMenus(const std::string& path, Loaded& out, std::string& error);

// The effective menu of a definition's text; the path selects the profile.
// The text is released once parsed, before the model is built; the parsed
// document once the model is built, by `release` when one is given.
bool LoadDefinition(std::string text, const std::string& path, velkin::EffectiveMenu& model,
                    std::string& error, BackgroundRelease* release = nullptr);

// True when writing `output` would overwrite one of `paths`: the same file,
// or a file inside a profile directory given as a path.
bool NamesAnInput(const std::string& output, const std::vector<std::string>& paths);

}  // namespace tree
