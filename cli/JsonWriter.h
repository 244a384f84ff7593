// Writes JSON text into a string: indented, with containers opened while
// `inline` is set kept on one line, and every string escaped so that the
// text is valid JSON in UTF-8 whatever bytes it is given.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace cli {

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
    template <class Integer>
    void Number(Integer value)
    {
        static_assert(std::is_integral_v<Integer> && !std::is_same_v<Integer, bool>);
        BeforeValue();
        m_out += std::to_string(value);
    }
    void Null();
    // An array of strings on one line.
    void Strings(const std::vector<std::string>& values);
    // `name` with a string value.
    void Member(std::string_view name, std::string_view value)
    {
        Key(name);
        String(value);
    }

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

// `text` as the body of a JSON string (without the quotes). The escapes:
// \" \\ \b \f \n \r \t, \u00xx for the other control characters; every other
// character as it is (DEL, U+2028 and U+2029 included, which JSON allows);
// each byte that does not begin a UTF-8 character becomes U+FFFD, written as
// UTF-8.
void AppendJsonEscaped(std::string& out, std::string_view text);

// `text` as a JSON string, quotes included.
std::string JsonQuoted(std::string_view text);

}  // namespace cli
