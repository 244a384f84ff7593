// velkin-lsp: the checker's findings and navigation over a definition's
// identifiers, as a language server on standard input and output.
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include "Frames.h"
#include "Server.h"

namespace {

constexpr char kUsage[] =
    "Usage: velkin-lsp [--stdio]\n"
    "       velkin-lsp --help | --version\n"
    "A language server for menu definitions: velkin-check's findings as\n"
    "diagnostics, and definition, references, hover, rename, completion,\n"
    "outline and code actions over identifiers. It speaks the Language Server\n"
    "Protocol on standard input and output.\n";

bool WriteAll(const std::string& bytes)
{
    for (size_t done = 0; done < bytes.size();) {
        const ssize_t n = write(STDOUT_FILENO, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

bool InputWaiting()
{
    pollfd in{STDIN_FILENO, POLLIN, 0};
    return poll(&in, 1, 0) > 0;
}

// Reads frames until exit or the end of the input; the exit status.
int Serve()
{
    bool writable = true;
    lsp::Server server(
        [&](const std::string& body) { writable = writable && WriteAll(lsp::Frame(body)); });
    lsp::FrameReader reader;
    char buffer[65536];
    while (!server.Exited() && writable) {
        const ssize_t n = read(STDIN_FILENO, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return server.ExitStatus();
        reader.Feed(std::string_view(buffer, static_cast<size_t>(n)));
        std::string body;
        for (auto status = reader.Next(body);
             status != lsp::FrameReader::Status::NeedMore && !server.Exited();
             status = reader.Next(body)) {
            if (status == lsp::FrameReader::Status::Frame)
                server.Receive(body);
            else
                server.ReceiveMalformed();
        }
        if (!server.Exited() && !InputWaiting())
            server.Idle();
    }
    return server.ExitStatus();
}

}  // namespace

int main(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::cout << kUsage;
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::cout << "velkin-lsp " << VELKIN_VERSION << "\n";
        return 0;
    }
    if (argc > 2 || (argc == 2 && std::strcmp(argv[1], "--stdio") != 0)) {
        std::cerr << "velkin-lsp: unknown argument '" << argv[1] << "'\n" << kUsage;
        return 2;
    }
    signal(SIGPIPE, SIG_IGN);  // an editor gone away ends the loop, not the process
    // json-glib's nodes come from GLib's slice allocator, which before GLib
    // 2.76 keeps freed slices for itself and reads G_SLICE only as it loads:
    // the server starts itself again with it, so that through malloc a closed
    // large definition's memory goes back to the system (malloc_trim on close).
    if (std::getenv("G_SLICE") == nullptr) {
        setenv("G_SLICE", "always-malloc", 1);
        execv("/proc/self/exe", argv);  // on failure it serves as it is
    }
    return Serve();
}
