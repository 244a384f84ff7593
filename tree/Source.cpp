#include "Source.h"

#include <glib.h>

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>

#include "Document.h"
#include "Facts.h"
#include "GObjectPtr.h"
#include "Identifiers.h"
#include "ProfileDirectory.h"

namespace tree {

namespace {

bool ReadStream(std::FILE* file, std::string& text)
{
    char buffer[1 << 16];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        text.append(buffer, n);
    return std::ferror(file) == 0;
}

// The text at `path` (standard input for "-"), read once into `text`, in one
// buffer the size of a regular file.
bool ReadInput(const std::string& path, std::string& text, std::string& error)
{
    const bool standard = path == kStandardInput;
    std::FILE* file = standard ? stdin : std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        error = path + ": " + g_strerror(errno);
        return false;
    }
    struct stat status;
    if (fstat(fileno(file), &status) == 0 && S_ISREG(status.st_mode))
        text.reserve(static_cast<size_t>(status.st_size));
    const bool ok = ReadStream(file, text);
    const int code = errno;
    if (!standard)
        std::fclose(file);
    if (!ok)
        error = (standard ? std::string("standard input") : path) + ": " + g_strerror(code);
    return ok;
}

}  // namespace

BackgroundRelease::~BackgroundRelease()
{
    if (m_thread.joinable())
        m_thread.join();
}

void BackgroundRelease::Release(JsonParser* parser)
{
    m_thread = std::thread([parser] { g_object_unref(parser); });
}

bool LoadDefinition(std::string text, const std::string& path, velkin::EffectiveMenu& model,
                    std::string& error, BackgroundRelease* release)
{
    GObjectPtr<JsonParser> parser(json_parser_new());
    const velkin::LoadResult result = velkin::ParseDefinition(parser.get(), text);
    std::string().swap(text);
    switch (result.status) {
    case velkin::LoadStatus::Loaded: break;
    case velkin::LoadStatus::TooDeep:
        error = path + ": arrays and objects nested deeper than " +
                std::to_string(velkin::kMaxNesting) + " levels (byte " +
                std::to_string(result.tooDeepAt + 1) + ")";
        return false;
    case velkin::LoadStatus::Syntax:
        error = path + ": not a JSON document: " + velkin::OneLine(result.message);
        return false;
    case velkin::LoadStatus::Empty: error = path + ": empty document"; return false;
    }
    JsonNode* root = json_parser_get_root(parser.get());
    // Any JSON document parses; only one with a "menutree" object is a menu
    // definition (a package.json drawn as an empty menu would pass for one).
    if (velkin::AsObject(velkin::MemberOf(root, velkin::kMenuTree)) == nullptr) {
        error = path + ": no \"menutree\" object: not a menu definition";
        return false;
    }
    model = velkin::ComputeEffectiveMenu(root, path.c_str());
    if (release != nullptr)
        release->Release(parser.release());
    return true;
}

bool LoadMenus(const std::string& path, Loaded& out, std::string& error)
{
    if (path != kStandardInput && g_file_test(path.c_str(), G_FILE_TEST_IS_DIR)) {
        velkin::DirectoryRead read;
        const bool ok = velkin::ReadProfileDirectory(path, read, error);
        for (const std::string& file : read.leftOut)
            out.warnings.push_back(path + "/" + file + " (left out)");
        out.model = std::move(read.model);
        return ok;
    }
    std::string text;
    return ReadInput(path, text, error) &&
           LoadDefinition(std::move(text), path, out.model, error, &out.parsed);
}

bool NamesAnInput(const std::string& output, const std::vector<std::string>& paths)
{
    struct stat out;
    if (output.empty() || stat(output.c_str(), &out) != 0)
        return false;
    g_autofree gchar* parent = g_path_get_dirname(output.c_str());
    struct stat dir;
    const bool hasParent = stat(parent, &dir) == 0;
    for (const std::string& path : paths) {
        struct stat in;
        if (path == kStandardInput || stat(path.c_str(), &in) != 0)
            continue;
        const bool same = in.st_dev == out.st_dev && in.st_ino == out.st_ino;
        const bool inside = S_ISDIR(in.st_mode) && hasParent && in.st_dev == dir.st_dev &&
                            in.st_ino == dir.st_ino;
        if (same || inside)
            return true;
    }
    return false;
}

}  // namespace tree
