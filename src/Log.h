// Platform log records of the tool: "<source file>: <operation>(<number>) > <text>"
// under the tag "velkin" in the main log. The three place fields come from a
// LogPoint (LogPoints.h), never from where the call happens to stand.
#pragma once

#include <dlog.h>

#include "LogPoints.h"

#define VELKIN_LOG_TAG "velkin"

#define VELKIN_LOG(prio, point, fmt, ...)                                              \
    __dlog_print(LOG_ID_MAIN, prio, VELKIN_LOG_TAG, "%s: %s(%d) > " fmt, (point).file, \
                 (point).operation, (point).number, ##__VA_ARGS__)

#define LOG_INFO(point, fmt, ...) VELKIN_LOG(DLOG_INFO, point, fmt, ##__VA_ARGS__)
#define LOG_ERROR(point, fmt, ...) VELKIN_LOG(DLOG_ERROR, point, fmt, ##__VA_ARGS__)
