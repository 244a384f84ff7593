#include "Inputs.h"

#include <dirent.h>
#include <fcntl.h>
#include <glib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <memory>

namespace check {

namespace {

std::string Joined(const std::string& dir, const std::string& name)
{
    return !dir.empty() && dir.back() == '/' ? dir + name : dir + "/" + name;
}

bool IsDirectory(const std::string& path, bool followLink)
{
    struct stat st;
    const int status = followLink ? stat(path.c_str(), &st) : lstat(path.c_str(), &st);
    return status == 0 && S_ISDIR(st.st_mode);
}

// A FIFO, socket or device (or a link to one): opening it could block or
// read for ever, so a directory walk never opens it. A name that cannot be
// examined is taken, so that reading it reports why.
bool IsSpecialFile(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode);
}

// The names in `dir` but "." and "..", sorted bytewise; false with the reason
// when it cannot be read.
bool SortedNames(const std::string& dir, std::vector<std::string>& names, std::string& reason)
{
    const std::unique_ptr<DIR, int (*)(DIR*)> d(opendir(dir.c_str()), closedir);
    if (!d) {
        reason = g_strerror(errno);
        return false;
    }
    errno = 0;
    while (const dirent* entry = readdir(d.get())) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    if (errno != 0) {
        reason = g_strerror(errno);
        return false;
    }
    std::sort(names.begin(), names.end());
    return true;
}

// Every definition below `dir`, depth first in sorted order. Links are taken
// as files: a link to a directory is not followed, so no loop is walked.
void Walk(const std::string& dir, std::vector<Input>& inputs, std::vector<Unread>& unread)
{
    std::vector<std::string> names;
    std::string reason;
    if (!SortedNames(dir, names, reason)) {
        unread.push_back({dir, reason});
        return;
    }
    for (const std::string& name : names) {
        const std::string path = Joined(dir, name);
        if (IsDirectory(path, false))
            Walk(path, inputs, unread);
        else if (IsDefinitionName(name) && !IsSpecialFile(path))
            inputs.push_back({path});
    }
}

// A directory named on the command line: one without a definition below it
// is a mistake (a wrong folder, or definitions not named menu-*.json), not a
// clean pass.
void WalkArgument(const std::string& dir, std::vector<Input>& inputs, std::vector<Unread>& unread)
{
    const size_t found = inputs.size(), failed = unread.size();
    Walk(dir, inputs, unread);
    if (inputs.size() == found && unread.size() == failed)
        unread.push_back({dir, "no menu-*.json file below it"});
}

}  // namespace

bool IsDefinitionName(std::string_view name)
{
    constexpr std::string_view kPrefix = "menu-";
    constexpr std::string_view kSuffix = ".json";
    return name.size() >= kPrefix.size() + kSuffix.size() &&
           name.compare(0, kPrefix.size(), kPrefix) == 0 &&
           name.compare(name.size() - kSuffix.size(), kSuffix.size(), kSuffix) == 0;
}

std::vector<Input> ExpandInputs(const std::vector<std::string>& args, const std::string& stdinName,
                                std::vector<Unread>& unread)
{
    std::vector<Input> inputs;
    for (const std::string& arg : args) {
        if (arg == "-")
            inputs.push_back(
                {stdinName.empty() ? kUnnamedStdin : stdinName, true, !stdinName.empty()});
        else if (IsDirectory(arg, true))
            WalkArgument(arg, inputs, unread);
        else
            inputs.push_back({arg});
    }
    return inputs;
}

bool ReadFile(const char* path, std::string& text, std::string& reason)
{
    const int fd = path != nullptr ? open(path, O_RDONLY | O_CLOEXEC) : STDIN_FILENO;
    int error = fd < 0 ? errno : 0;
    // Room for a whole file at once: growing by doubling would leave the
    // smaller copies behind in the heap.
    struct stat st;
    if (fd >= 0 && fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0)
        text.reserve(text.size() + static_cast<size_t>(st.st_size));
    char buffer[65536];
    while (error == 0) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n > 0)
            text.append(buffer, static_cast<size_t>(n));
        else if (n == 0)
            break;
        else if (errno != EINTR)
            error = errno;
    }
    if (path != nullptr && fd >= 0)
        close(fd);
    if (error != 0)
        reason = g_strerror(error);
    return error == 0;
}

}  // namespace check
