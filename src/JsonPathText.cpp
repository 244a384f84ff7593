#include "JsonPathText.h"

#include <cstdlib>
#include <cstring>

namespace {

// Widest slice json-glib is asked to walk. Its slice walk visits every index of
// the range, present or not, one at a time.
constexpr long long kMaxSliceSpan = 1 << 20;

struct Screen {
    bool safe = true;
    bool indexes = false;  // the expression selects array elements by position
};

// json-glib 1.6 compiles and walks some expressions unsafely: an unterminated
// "['" makes it dereference a null pointer, a few truncated selectors make it
// read past the terminator, a second "$" leaks the nodes compiled so far, and a
// slice with a step of zero or less (or a huge span) never ends. This follows
// json_path_compile's own scan and reports whether the expression is free of
// those, and whether it indexes arrays (whose out-of-range positions json-glib
// reports as criticals). Expressions it calls safe compile exactly as before.
Screen ScreenExpression(const char* expr)
{
    Screen s;
    bool root = false;
    const char* p = expr;
    auto slice = [&s](long long start, long long end, long long step) {
        if (step <= 0 || end - start > kMaxSliceSpan)
            s.safe = false;
        s.indexes = true;
    };
    while (*p != '\0') {
        if (*p == '$') {
            if (root) {
                s.safe = false;
                return s;
            }
            if (!(p[1] == '.' || p[1] == '[' || p[1] == '\0'))
                return s;  // compile error, handled by json-glib
            root = true;
        } else if (*p == '.' || *p == '[') {
            if (*p == '.' && p[1] == '.') {
                // recursive descent: the next '.' is scanned on its own
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
                    if (e == nullptr || e[1] == '\0') {
                        s.safe = false;
                        return s;
                    }
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
                if (*e == ':') {
                    long long end = std::strtoll(e + 1, &e, 10) * sign;
                    long long step = 1;
                    if (*e == ':') {
                        e += 1;
                        sign = 1;
                        if (*e == '-') {
                            sign = -1;
                            e += 1;
                        }
                        step = std::strtoll(e, &e, 10) * sign;
                        if (*e != ']')
                            return s;  // compile error
                    }
                    if (*e == '\0') {
                        s.safe = false;
                        return s;
                    }
                    slice(0, end, step);
                    p = e;
                } else {
                    long long start = std::strtoll(e, &e, 10) * sign;
                    if (*e == ',') {
                        while (*e != ']') {
                            e += 1;
                            if (*e == '-')
                                e += 1;
                            std::strtoll(e, &e, 10);
                            if (!(*e == ',' || *e == ']'))
                                return s;  // compile error
                        }
                        s.indexes = true;
                        p = e;
                    } else if (*e == ':') {
                        e += 1;
                        sign = 1;
                        if (*e == '-') {
                            sign = -1;
                            e += 1;
                        }
                        long long end = std::strtoll(e, &e, 10) * sign;
                        long long step = 1;
                        if (*e == ':') {
                            e += 1;
                            sign = 1;
                            if (*e == '-') {
                                sign = -1;
                                e += 1;
                            }
                            if (*e == '\0') {
                                s.safe = false;  // json-glib reads the step one byte further
                                return s;
                            }
                            step = std::strtoll(e + 1, &e, 10) * sign;
                        }
                        if (*e != ']')
                            return s;  // compile error
                        slice(start, end, step);
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
    return json_generator_to_data(generator, nullptr);
}
