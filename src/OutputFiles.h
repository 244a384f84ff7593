// How the splitter writes its files: plain text into streams that drop what
// they cannot write, without a message.
#pragma once

#include <fstream>
#include <string_view>

// The directory every output path is formed under, compiled into each program
// (ResourceRoot.cpp): the system's root in the installed tool, a relative
// folder in the build that the tests run.
extern const char* const kResourceRoot;

// Writes `text` as it is. A stream that failed drops it silently.
void Write(std::ofstream& out, std::string_view text);

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
