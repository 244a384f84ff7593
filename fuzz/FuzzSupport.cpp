#include "FuzzSupport.h"

#include <dlog.h>
#include <glib.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "RawJson.h"

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

bool StrictJson(const std::string& text)
{
    return velkin::IsJsonValue(text);
}
