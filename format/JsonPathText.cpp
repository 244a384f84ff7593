#include "JsonPathText.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

#include "JsonPathScreen.h"

namespace velkin {

namespace {

// Out-of-range positions are reported by json-glib as criticals and then
// matched as nothing; that outcome is the one we want, without the noise.
void DropCritical(const gchar*, GLogLevelFlags, const gchar*, gpointer) {}

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

// Copies the string byte (or UTF-8 sequence) at `p`, escaping U+001F and bytes
// that are not UTF-8; returns the last byte consumed. A closing quote ends
// the string.
const char* CopyStringByte(const char* p, std::string& out, bool& inString)
{
    if (*p == '\x1f') {
        out += "\\u001f";
        return p;
    }
    if (static_cast<unsigned char>(*p) >= 0x80) {
        const gunichar c = g_utf8_get_char_validated(p, -1);
        if (c == static_cast<gunichar>(-1) || c == static_cast<gunichar>(-2)) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x",
                          static_cast<unsigned>(static_cast<unsigned char>(*p)));
            out += escape;
            return p;
        }
        const char* next = g_utf8_next_char(p);
        out.append(p, next);
        return next - 1;
    }
    if (*p == '\\' && p[1] != '\0')
        out += *p++;
    else if (*p == '"')
        inString = false;
    out += *p;
    return p;
}

// Copies the number (or "inf") starting at `p` without json-glib's trailing
// ".0" after an exponent, and an infinity as 1e999; returns the last byte.
const char* CopyNumber(const char* p, std::string& out)
{
    const char* end = p;
    while (*end == '-' || *end == '+' || *end == '.' ||
           std::isalnum(static_cast<unsigned char>(*end)))
        ++end;
    std::string number(p, end);
    const size_t dotZero = number.size() >= 2 ? number.size() - 2 : 0;
    if (number == "inf.0" || number == "-inf.0")
        number.replace(number.size() - 5, 5, "1e999");
    else if (number.compare(dotZero, 2, ".0") == 0 &&
             number.find_first_of("eE") != std::string::npos)
        number.erase(dotZero);
    out += number;
    return end - 1;
}

}  // namespace

char* RepairSerialisation(char* text)
{
    if (!NeedsRepair(text))
        return text;
    std::string out;
    bool inString = false;
    for (const char* p = text; *p != '\0'; ++p) {
        if (inString) {
            p = CopyStringByte(p, out, inString);
        } else if (*p == '"') {
            inString = true;
            out += *p;
        } else if (*p == '-' || *p == 'i' || (*p >= '0' && *p <= '9')) {
            p = CopyNumber(p, out);
        } else {
            out += *p;
        }
    }
    g_free(text);
    return g_strndup(out.data(), out.size());
}

char* JsonPathMatchText(JsonNode* root, JsonGenerator* generator, const char* expression)
{
    if (root == nullptr || expression == nullptr)
        return g_strdup("[]");
    const ExpressionScreen screen = ScreenExpression(expression);
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

}  // namespace velkin
