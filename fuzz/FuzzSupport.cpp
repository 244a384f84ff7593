#include "FuzzSupport.h"

#include <dlog.h>
#include <glib.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// Log records are formatted, so a bad argument still trips the sanitizers, and
// dropped instead of flooding the fuzzer's output.
extern "C" int __dlog_print(log_id_t, int, const char*, const char* fmt, ...)
{
    va_list ap;
    va_start(ap, fmt);
    const int n = std::vsnprintf(nullptr, 0, fmt, ap);
    va_end(ap);
    return n;
}

void FailOnGLibWarning()
{
    g_log_set_default_handler(
        [](const gchar* domain, GLogLevelFlags level, const gchar* message, gpointer) {
            if (level & (G_LOG_LEVEL_ERROR | G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING)) {
                std::fprintf(stderr, "GLib %s: %s\n", domain ? domain : "", message);
                std::abort();
            }
        },
        nullptr);
}

namespace {

struct Scan {
    const char* p;
    const char* end;

    bool At(const char* set) const { return p < end && *p != '\0' && std::strchr(set, *p); }
    void Blank() { while (At(" \t\r\n")) ++p; }
    bool Eat(char c) { Blank(); return p < end && *p == c && ++p; }
    bool Word(const char* w) { const size_t n = std::strlen(w); return size_t(end - p) >= n && !std::memcmp(p, w, n) && (p += n); }
    bool Digits() { const char* start = p; while (At("0123456789")) ++p; return p > start; }
    bool Number()
    {
        if (At("-")) ++p;
        if (!(At("0") && ++p) && !Digits()) return false;
        if (At(".") && (++p, !Digits())) return false;
        if (!At("eE")) return true;
        ++p;
        if (At("+-")) ++p;
        return Digits();
    }
    bool String()
    {
        if (!At("\"")) return false;
        for (++p; p < end; ++p) {
            if (*p == '"') return ++p, true;
            if (static_cast<unsigned char>(*p) < 0x20) return false;
            if (*p != '\\') continue;
            if (++p, At("u")) {
                for (int i = 0; i < 4; ++i)
                    if (++p, !At("0123456789abcdefABCDEF")) return false;
            } else if (!At("\"\\/bfnrt")) {
                return false;
            }
        }
        return false;
    }
    bool Value()
    {
        Blank();
        if (!At("{[")) return String() || Word("true") || Word("false") || Word("null") || Number();
        const char close = *p++ == '{' ? '}' : ']';
        if (Eat(close)) return true;
        do {
            if ((close == '}' && !(Blank(), String() && Eat(':'))) || !Value()) return false;
        } while (Eat(','));
        return Eat(close);
    }
};

}  // namespace

bool StrictJson(const std::string& text)
{
    Scan scan{text.data(), text.data() + text.size()};
    return g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr) && scan.Value() &&
           (scan.Blank(), scan.p == scan.end);
}
