#include "OutputFiles.h"

void Write(std::ofstream& out, std::string_view text)
{
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

std::ofstream& EntryList::Next()
{
    if (!m_first)
        Write(m_out, ",");
    m_first = false;
    return m_out;
}
