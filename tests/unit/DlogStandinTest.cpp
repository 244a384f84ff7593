// The log stand-in writes its records to standard error when the process
// exits: each case logs in a child process and reads what it wrote.
#include <dlog.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>
#include <string>

namespace {

std::string StderrOf(const std::function<void()>& log)
{
    int fds[2];
    if (pipe(fds) != 0)
        return "pipe failed";
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        dup2(fds[1], STDERR_FILENO);
        log();
        std::exit(0);  // the stand-in flushes its buffer at exit
    }
    close(fds[1]);
    std::string out;
    char chunk[4096];
    for (ssize_t n; (n = read(fds[0], chunk, sizeof chunk)) > 0;)
        out.append(chunk, static_cast<size_t>(n));
    close(fds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return out;
}

struct DlogRow {
    const char* name;
    std::function<void()> log;
    std::string written;
};

void PrintTo(const DlogRow& row, std::ostream* os)
{
    *os << row.name;
}

class DlogStandin : public ::testing::TestWithParam<DlogRow> {};

TEST_P(DlogStandin, WritesOneWholeRecordPerCall)
{
    EXPECT_EQ(StderrOf(GetParam().log), GetParam().written);
}

const std::string kLong(5000, 'x');
const std::string kHuge(70000, 'y');

std::string Numbered(int n)
{
    std::string s;
    for (int i = 0; i < n; ++i)
        s += "I/velkin: record " + std::to_string(i) + "\n";
    return s;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DlogStandin,
    ::testing::Values(
        DlogRow{"line_feed_added", [] { __dlog_print(LOG_ID_MAIN, DLOG_INFO, "velkin", "a"); },
                "I/velkin: a\n"},
        DlogRow{"line_feed_not_doubled",
                [] { __dlog_print(LOG_ID_MAIN, DLOG_INFO, "velkin", "a %d\n", 7); },
                "I/velkin: a 7\n"},
        DlogRow{"priority_letters",
                [] {
                    for (int prio : {DLOG_VERBOSE, DLOG_DEBUG, DLOG_WARN, DLOG_ERROR, DLOG_FATAL})
                        __dlog_print(LOG_ID_MAIN, prio, "t", "m");
                },
                "V/t: m\nD/t: m\nW/t: m\nE/t: m\nF/t: m\n"},
        DlogRow{"record_over_1023_bytes_whole",
                [] { __dlog_print(LOG_ID_MAIN, DLOG_INFO, "velkin", "%s!", kLong.c_str()); },
                "I/velkin: " + kLong + "!\n"},
        DlogRow{"record_over_the_buffer_whole",
                [] { __dlog_print(LOG_ID_MAIN, DLOG_INFO, "velkin", "%s", kHuge.c_str()); },
                "I/velkin: " + kHuge + "\n"},
        DlogRow{"records_across_buffer_flushes_in_order",
                [] {
                    for (int i = 0; i < 5000; ++i)
                        __dlog_print(LOG_ID_MAIN, DLOG_INFO, "velkin", "record %d", i);
                },
                Numbered(5000)}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
