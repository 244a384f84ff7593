// Writes JSON text into a string: indented, with containers opened while
// `inline` is set kept on one line, and every string escaped so that the
// text is valid JSON in UTF-8 whatever bytes it is given (bytes that are not
// UTF-8 become U+FFFD).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tree {

class JsonWriter {
public:
    explicit JsonWriter(std::string& out) : m_out(out) {}

    void BeginObject(bool oneLine = false) { Open('{', oneLine); }
    void EndObject() { Close('}'); }
    void BeginArray(bool oneLine = false) { Open('[', oneLine); }
    void EndArray() { Close(']'); }

    void Key(std::string_view name);
    void String(std::string_view value);
    void OptionalString(const std::optional<std::string>& value);  // null when absent
    void Bool(bool value);
    void Number(size_t value);
    void Null();
    // An array of strings on one line.
    void Strings(const std::vector<std::string>& values);

private:
    struct Level {
        bool oneLine;
        bool empty = true;
    };
    std::string& m_out;
    std::vector<Level> m_levels;
    bool m_afterKey = false;

    void Open(char bracket, bool oneLine);
    void Close(char bracket);
    void BeforeValue();
    void NewLine();
};

// `text` as the body of a JSON string (without the quotes).
void AppendJsonEscaped(std::string& out, std::string_view text);

}  // namespace tree
