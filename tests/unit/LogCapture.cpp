// Test definitions of the platform log entry points, linked into the test
// executable itself so that the log library's own are never pulled in.
#include "LogCapture.h"

#include <dlog.h>
#include <gtest/gtest.h>

#include <cstdio>

std::vector<LogRecord>& CapturedLogs()
{
    static std::vector<LogRecord> records;
    return records;
}

std::vector<std::string> LoggedLines()
{
    std::vector<std::string> lines;
    for (const LogRecord& r : CapturedLogs()) {
        const bool error = r.text.find(") > Read ERR [") != std::string::npos;
        EXPECT_TRUE(r.logId == LOG_ID_MAIN && r.tag == "velkin") << r.text;
        EXPECT_EQ(r.priority, error ? DLOG_ERROR : DLOG_INFO) << r.text;
        lines.push_back(r.text);
    }
    return lines;
}

extern "C" int __dlog_vprint(log_id_t id, int prio, const char* tag, const char* fmt, va_list ap)
{
    va_list copy;
    va_copy(copy, ap);
    const int len = std::vsnprintf(nullptr, 0, fmt, copy);
    va_end(copy);
    std::vector<char> text(len > 0 ? len + 1 : 1);
    std::vsnprintf(text.data(), text.size(), fmt, ap);
    CapturedLogs().push_back({id, prio, tag ? tag : "", text.data()});
    return len;
}

extern "C" int __dlog_print(log_id_t id, int prio, const char* tag, const char* fmt, ...)
{
    va_list ap;
    va_start(ap, fmt);
    const int len = __dlog_vprint(id, prio, tag, fmt, ap);
    va_end(ap);
    return len;
}
