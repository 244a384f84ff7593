#include "JsonPathText.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// Largest array index, slice bound or step json-glib is asked to handle, and
// the most element visits that the set and slice selectors of one expression
// may multiply up to. json-glib visits every index of a slice, present or not,
// and repeats a set's indexes as often as they are listed, so chained
// selectors multiply the work.
constexpr long long kMaxIndex = 1 << 20;
constexpr long long kMaxVisits = 1 << 16;
// A recursive descent walks the whole document once for every node that
// reaches it; after one, selectors may multiply its work by this much at most.
constexpr long long kMaxVisitsAfterDescent = 16;

struct Screen {
    bool safe = true;
    bool indexes = false;  // the expression selects array elements by position
};

// Reads a number as json-glib does (g_ascii_strtoll), refusing one outside
// +-kMaxIndex so that no later arithmetic can overflow.
bool ReadNumber(char*& e, long long& value)
{
    value = std::strtoll(e, &e, 10);
    return value >= -kMaxIndex && value <= kMaxIndex;
}

// Reads an optional '-' and a number, as json-glib reads slice ends and steps;
// with `skipOne`, one more byte after the sign is passed over unread, as
// json-glib does for the step of a slice with a start.
bool ReadSigned(char*& e, long long& value, bool skipOne = false)
{
    long long sign = 1;
    if (*e == '-') {
        sign = -1;
        e += 1;
    }
    if (skipOne) {
        if (*e == '\0')
            return false;  // json-glib would read past the terminator
        e += 1;
    }
    if (!ReadNumber(e, value))
        return false;
    value *= sign;
    return true;
}

// json-glib 1.6 compiles and walks some expressions unsafely: an unterminated
// "['" makes it dereference a null pointer, a few truncated selectors make it
// read past the terminator, a second "$" leaks the nodes compiled so far, a
// slice whose step is zero or less never ends, and big or chained slices and
// sets run for hours. This follows json_path_compile's own scan and reports
// whether the expression is free of those (an expression it calls safe
// compiles and matches exactly as before), and whether it indexes arrays
// (whose out-of-range positions json-glib reports as criticals).
Screen ScreenExpression(const char* expr)
{
    Screen s;
    Screen unsafe;
    unsafe.safe = false;
    bool root = false;
    int descents = 0;
    long long visits = 1;
    auto select = [&](long long count) {
        s.indexes = true;
        visits *= count < 1 ? 1 : count;
        const long long limit = descents > 0 ? kMaxVisitsAfterDescent : kMaxVisits;
        return visits <= limit;
    };
    const char* p = expr;
    while (*p != '\0') {
        if (*p == '$') {
            if (root)
                return unsafe;
            if (!(p[1] == '.' || p[1] == '[' || p[1] == '\0'))
                return s;  // compile error, reported by json-glib
            root = true;
        } else if (*p == '.' || *p == '[') {
            if (*p == '.' && p[1] == '.') {
                // Recursive descent; the next '.' is scanned on its own.
                if (++descents > 1 || visits > kMaxVisitsAfterDescent)
                    return unsafe;
            } else if (*p == '.' && p[1] == '*') {
                p += 1;
            } else if (*p == '.') {
                const char* e = p + 1;
                while (!(*e == '.' || *e == '[' || *e == '\0'))
                    e += 1;
                if (e == p + 1)
                    return s;  // compile error
                p = e - 1;
            } else if (p[1] == '\'') {
                if (p[2] == '*' && p[3] == '\'' && p[4] == ']') {
                    p += 4;
                } else {
                    const char* e = std::strchr(p + 2, '\'');
                    if (e == nullptr || e[1] == '\0')
                        return unsafe;
                    p = e + 1;
                }
            } else if (p[1] == '*' && p[2] == ']') {
                p += 1;
                s.indexes = true;
            } else {
                char* e = const_cast<char*>(p + 1);
                long long sign = 1;
                if (*e == '-') {
                    sign = -1;
                    e += 1;
                }
                long long start = 0;
                long long end = 0;
                long long step = 1;
                if (*e == ':') {
                    e += 1;
                    if (!ReadNumber(e, end))
                        return unsafe;
                    end *= sign;
                    if (*e == ':') {
                        e += 1;
                        if (!ReadSigned(e, step))
                            return unsafe;
                        if (*e != ']')
                            return s;  // compile error
                    }
                    if (*e == '\0' || step <= 0)
                        return unsafe;
                    if (!select((end - start + step - 1) / step))
                        return unsafe;
                    p = e;
                } else {
                    if (!ReadNumber(e, start))
                        return unsafe;
                    if (*e == ',') {
                        long long count = 1;
                        while (*e != ']') {
                            e += 1;
                            if (*e == '-')
                                e += 1;
                            long long index;
                            if (!ReadNumber(e, index))
                                return unsafe;
                            if (!(*e == ',' || *e == ']'))
                                return s;  // compile error
                            count += 1;
                        }
                        if (!select(count))
                            return unsafe;
                        p = e;
                    } else if (*e == ':') {
                        start *= sign;
                        e += 1;
                        if (!ReadSigned(e, end))
                            return unsafe;
                        if (*e == ':') {
                            e += 1;
                            if (!ReadSigned(e, step, true))
                                return unsafe;
                        }
                        if (*e != ']')
                            return s;  // compile error
                        if (step <= 0 || !select((end - start + step - 1) / step))
                            return unsafe;
                        p = e;
                    } else if (*e == ']') {
                        s.indexes = true;
                        p = e;
                    } else {
                        return s;  // compile error
                    }
                }
            }
        } else if (!root) {
            return s;  // compile error: invalid first character
        }
        p += 1;
    }
    return s;
}

// Out-of-range positions are reported by json-glib as criticals and then
// matched as nothing; that outcome is the one we want, without the noise.
void DropCritical(const gchar*, GLogLevelFlags, const gchar*, gpointer) {}

// json-glib 1.6's generator leaves U+001F unescaped inside strings, copies the
// bytes of octal escapes such as "\200" (which its scanner accepts) even when
// they are not UTF-8, and writes a double whose shortest form has an exponent
// or is infinite (from a literal such as 1e999) with ".0" appended: 9e+19.0,
// inf.0. None of that is JSON. Rewrites those spellings as \u001f, \u0080,
// 9e+19 and 1e999; every other byte is kept.
// True when the text holds a spelling such as 9e+19.0: an exponent's digits
// followed by ".0".
bool HasExponentDotZero(const char* text)
{
    for (const char* dot = std::strstr(text, ".0"); dot != nullptr;
         dot = std::strstr(dot + 2, ".0")) {
        const char* digits = dot;
        while (digits > text && digits[-1] >= '0' && digits[-1] <= '9')
            --digits;
        if (digits < dot && digits - text >= 2 && (digits[-1] == '+' || digits[-1] == '-') &&
            digits[-2] == 'e')
            return true;
    }
    return false;
}

bool NeedsRepair(const char* text)
{
    return std::strchr(text, '\x1f') != nullptr || std::strstr(text, "inf.0") != nullptr ||
           HasExponentDotZero(text) || !g_utf8_validate(text, -1, nullptr);
}

char* RepairSerialisation(char* text)
{
    if (!NeedsRepair(text))
        return text;
    std::string out;
    bool inString = false;
    for (const char* p = text; *p != '\0'; ++p) {
        if (inString) {
            if (*p == '\x1f') {
                out += "\\u001f";
                continue;
            }
            if (static_cast<unsigned char>(*p) >= 0x80) {
                const gunichar c = g_utf8_get_char_validated(p, -1);
                if (c == static_cast<gunichar>(-1) || c == static_cast<gunichar>(-2)) {
                    char escape[8];
                    std::snprintf(escape, sizeof escape, "\\u%04x",
                                  static_cast<unsigned>(static_cast<unsigned char>(*p)));
                    out += escape;
                } else {
                    const char* next = g_utf8_next_char(p);
                    out.append(p, next);
                    p = next - 1;
                }
                continue;
            }
            if (*p == '\\' && p[1] != '\0')
                out += *p++;
            else if (*p == '"')
                inString = false;
            out += *p;
        } else if (*p == '"') {
            inString = true;
            out += *p;
        } else if (*p == '-' || *p == 'i' || (*p >= '0' && *p <= '9')) {
            const char* end = p;
            while (*end == '-' || *end == '+' || *end == '.' || std::isalnum(
                       static_cast<unsigned char>(*end)))
                ++end;
            std::string number(p, end);
            const size_t dotZero = number.size() >= 2 ? number.size() - 2 : 0;
            if (number == "inf.0" || number == "-inf.0")
                number.replace(number.size() - 5, 5, "1e999");
            else if (number.compare(dotZero, 2, ".0") == 0 &&
                     number.find_first_of("eE") != std::string::npos)
                number.erase(dotZero);
            out += number;
            p = end - 1;
        } else {
            out += *p;
        }
    }
    g_free(text);
    return g_strndup(out.data(), out.size());
}

}  // namespace

char* JsonPathMatchText(JsonNode* root, JsonGenerator* generator, const char* expression)
{
    if (root == nullptr || expression == nullptr)
        return g_strdup("[]");
    Screen screen = ScreenExpression(expression);
    if (!screen.safe)
        return g_strdup("[]");

    g_autoptr(JsonPath) path = json_path_new();
    if (!json_path_compile(path, expression, nullptr))
        return g_strdup("[]");

    guint handler = 0;
    if (screen.indexes)
        handler = g_log_set_handler("Json", static_cast<GLogLevelFlags>(G_LOG_LEVEL_CRITICAL),
                                    DropCritical, nullptr);
    JsonNode* matches = json_path_match(path, root);
    if (handler != 0)
        g_log_remove_handler("Json", handler);
    if (matches == nullptr)
        return g_strdup("[]");

    json_generator_set_root(generator, matches);
    json_node_unref(matches);
    return RepairSerialisation(json_generator_to_data(generator, nullptr));
}
