// Records the platform log calls of the code under test instead of printing them.
#pragma once

#include <string>
#include <vector>

struct LogRecord {
    int logId, priority;
    std::string tag, text;
};
std::vector<LogRecord>& CapturedLogs();
// Texts of the records so far; checks that each went to the main log under the
// tool's tag, at ERROR for a missing list member and at INFO otherwise.
std::vector<std::string> LoggedLines();
