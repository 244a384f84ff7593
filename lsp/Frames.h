// The base protocol's framing: "Content-Length: N" headers (and any others),
// a blank line, then N bytes of JSON.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lsp {

class FrameReader {
public:
    enum class Status { Frame, Malformed, NeedMore };

    void Feed(std::string_view bytes) { m_buffer.append(bytes.data(), bytes.size()); }
    // The next frame's body. Malformed: a header block without a usable
    // Content-Length was dropped, up to its blank line. NeedMore: keep feeding.
    Status Next(std::string& body);
    // Bytes held that do not yet make a frame.
    size_t Pending() const { return m_buffer.size() - m_start; }

private:
    std::string m_buffer;
    size_t m_start = 0;  // where the unread part begins
    void Compact();
};

// A body with its header.
std::string Frame(std::string_view body);

}  // namespace lsp
