// Platform log records of the tool: "<source file>: <operation>(<message number>) > <text>"
// under the tag "velkin" in the main log. Each source file defines kSourceFile and
// its message numbers; the numbers are fixed identifiers that log readers rely on.
#pragma once

#include <dlog.h>

#define VELKIN_LOG_TAG "velkin"

#define VELKIN_LOG(prio, line, fmt, ...)                                                   \
    __dlog_print(LOG_ID_MAIN, prio, VELKIN_LOG_TAG, "%s: %s(%d) > " fmt, kSourceFile,       \
                 __func__, static_cast<int>(line), ##__VA_ARGS__)

#define LOG_INFO(line, fmt, ...) VELKIN_LOG(DLOG_INFO, line, fmt, ##__VA_ARGS__)
#define LOG_ERROR(line, fmt, ...) VELKIN_LOG(DLOG_ERROR, line, fmt, ##__VA_ARGS__)
