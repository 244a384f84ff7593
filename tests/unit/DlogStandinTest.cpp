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

const std::string kLong(5000, 'x');
const std::string kHuge(70000, 'y');

std::string Numbered(int n)
{
    std::string s;
    for (int i = 0; i < n; ++i)
        s += "I/velkin: record " + std::to_string(i) + "\n";
    return s;
}

TEST(DlogStandin, WritesOneWholeRecordPerCall)
{
    const struct {
        const char* name;
        std::function<void()> log;
        std::string written;
    } rows[] = {
        {"line feed added", [] { __dlog_print(LOG_ID_MAIN, DLOG_INFO, "velkin", "a"); },
         "I/velkin: a\n"},
        {"line feed not doubled",
         [] { __dlog_print(LOG_ID_MAIN, DLOG_INFO, "velkin", "a %d\n", 7); }, "I/velkin: a 7\n"},
        {"priority letters",
         [] {
             for (int prio : {DLOG_VERBOSE, DLOG_DEBUG, DLOG_WARN, DLOG_ERROR, DLOG_FATAL})
                 __dlog_print(LOG_ID_MAIN, prio, "t", "m");
         },
         "V/t: m\nD/t: m\nW/t: m\nE/t: m\nF/t: m\n"},
        {"record over 1023 bytes whole",
         [] { __dlog_print(LOG_ID_MAIN, DLOG_INFO, "velkin", "%s!", kLong.c_str()); },
         "I/velkin: " + kLong + "!\n"},
        {"record over the buffer whole",
         [] { __dlog_print(LOG_ID_MAIN, DLOG_INFO, "velkin", "%s", kHuge.c_str()); },
         "I/velkin: " + kHuge + "\n"},
        {"records across buffer flushes in order",
         [] {
             for (int i = 0; i < 5000; ++i)
                 __dlog_print(LOG_ID_MAIN, DLOG_INFO, "velkin", "record %d", i);
         },
         Numbered(5000)},
    };
    for (const auto& row : rows)
        EXPECT_EQ(StderrOf(row.log), row.written) << row.name;
}

}  // namespace
