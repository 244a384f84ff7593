#include "Frames.h"

#include <cctype>
#include <cstdlib>
#include <strings.h>

namespace lsp {

namespace {

// The largest body accepted: beyond it the header is taken as malformed.
constexpr size_t kMaxBody = size_t{1} << 30;
constexpr size_t kMaxHeaders = 8192;
constexpr size_t kKeptCapacity = size_t{1} << 20;
constexpr std::string_view kLengthHeader = "content-length:";

// The value of the Content-Length header in `headers`; -1 when there is none
// or it is not a plain decimal number.
long long ContentLength(std::string_view headers)
{
    long long length = -1;
    while (!headers.empty()) {
        const size_t end = std::min(headers.find("\r\n"), headers.size());
        std::string_view line = headers.substr(0, end);
        headers.remove_prefix(std::min(end + 2, headers.size()));
        if (line.size() < kLengthHeader.size() ||
            strncasecmp(line.data(), kLengthHeader.data(), kLengthHeader.size()) != 0)
            continue;
        line.remove_prefix(kLengthHeader.size());
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
            line.remove_prefix(1);
        while (!line.empty() && (line.back() == ' ' || line.back() == '\t'))
            line.remove_suffix(1);
        if (line.empty() || line.size() > 12)
            return -1;
        length = 0;
        for (char c : line) {
            if (!std::isdigit(static_cast<unsigned char>(c)))
                return -1;
            length = length * 10 + (c - '0');
        }
    }
    return length;
}

}  // namespace

FrameReader::Status FrameReader::Next(std::string& body)
{
    const std::string_view unread = std::string_view(m_buffer).substr(m_start);
    const size_t blank = unread.find("\r\n\r\n");
    if (blank == std::string_view::npos) {
        if (unread.size() <= kMaxHeaders)
            return Status::NeedMore;
        m_start = m_buffer.size();  // no header block is that long
        Compact();
        return Status::Malformed;
    }
    const long long length = ContentLength(unread.substr(0, blank + 2));
    const size_t bodyStart = blank + 4;
    if (length < 0 || static_cast<size_t>(length) > kMaxBody) {
        m_start += bodyStart;
        Compact();
        return Status::Malformed;
    }
    if (unread.size() - bodyStart < static_cast<size_t>(length))
        return Status::NeedMore;
    body.assign(unread.substr(bodyStart, static_cast<size_t>(length)));
    m_start += bodyStart + static_cast<size_t>(length);
    Compact();
    return Status::Frame;
}

// Drops what was read once it is most of the buffer, so that a long session
// does not move its whole input at every frame.
void FrameReader::Compact()
{
    if (m_start == m_buffer.size()) {
        if (m_buffer.capacity() > kKeptCapacity)
            std::string().swap(m_buffer);  // a large message's room is given back
        m_buffer.clear();
        m_start = 0;
    } else if (m_start > (size_t{1} << 16) && m_start * 2 > m_buffer.size()) {
        m_buffer.erase(0, m_start);
        m_start = 0;
    }
}

std::string Frame(std::string_view body)
{
    std::string out = "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n";
    out.append(body.data(), body.size());
    return out;
}

}  // namespace lsp
