// The log stand-in writes its records to standard error when the process
// exits: each case logs in a child process and reads what it wrote, through a
// pipe whose reader keeps up, or a slow one that the writer must wait for.
#include <dlog.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>

#include "../Rows.h"

namespace {

// How standard error behaves in the child: a plain pipe; one set non-blocking,
// so that writes take part of a record or nothing; one whose writes a timer
// signal interrupts (no SA_RESTART), so that they stop short or fail with EINTR.
enum class Pipe { Plain, NonBlocking, Interrupted };

void OnTimer(int) {}

void SetUpChild(Pipe pipe)
{
    if (pipe == Pipe::NonBlocking)
        fcntl(STDERR_FILENO, F_SETFL, fcntl(STDERR_FILENO, F_GETFL) | O_NONBLOCK);
    if (pipe != Pipe::Interrupted)
        return;
    struct sigaction action = {};
    action.sa_handler = OnTimer;
    sigaction(SIGALRM, &action, nullptr);
    const itimerval every = {{0, 200}, {0, 200}};
    setitimer(ITIMER_REAL, &every, nullptr);
}

std::string StderrOf(const std::function<void()>& log, Pipe pipe)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return "pipe failed";
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        dup2(fds[1], STDERR_FILENO);
        SetUpChild(pipe);
        log();
        std::exit(0);  // the stand-in flushes its buffer at exit
    }
    close(fds[1]);
    std::string out;
    char chunk[4096];
    for (ssize_t n; (n = read(fds[0], chunk, sizeof chunk)) > 0;) {
        out.append(chunk, static_cast<size_t>(n));
        if (pipe != Pipe::Plain)
            usleep(100);
    }
    close(fds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return out;
}

std::string Numbered(int n)
{
    std::string s;
    for (int i = 0; i < n; ++i)
        s += "I/velkin: record " + std::to_string(i) + "\n";
    return s;
}

// A record whose text is `length` bytes, from a format that formats it: the
// text is formatted into a 1,024-byte array first, on the heap when longer.
std::function<void()> TextOf(size_t length)
{
    return [length] {
        const std::string text(length - 1, 'x');
        __dlog_print(LOG_ID_MAIN, DLOG_INFO, "velkin", "%s!", text.c_str());
    };
}

std::string RecordOf(size_t length)
{
    return "I/velkin: " + std::string(length - 1, 'x') + "!\n";
}

struct Row : rows::Named {
    std::function<void()> log;
    std::string written;
    Pipe pipe;
};

// Where two long texts part, with a little of each: "" when equal.
std::string Difference(const std::string& actual, const std::string& expected)
{
    if (actual == expected)
        return "";
    const auto at = std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end());
    const size_t offset = static_cast<size_t>(at.first - actual.begin());
    return "byte " + std::to_string(offset) + " of " + std::to_string(actual.size()) +
           " (expected " + std::to_string(expected.size()) + "): '" + actual.substr(offset, 20) +
           "' instead of '" + expected.substr(offset, 20) + "'";
}

class DlogStandin : public testing::TestWithParam<Row> {};

TEST_P(DlogStandin, WritesOneWholeRecordPerCall)
{
    EXPECT_EQ(Difference(StderrOf(GetParam().log, GetParam().pipe), GetParam().written), "");
}

auto Records(int n)
{
    return [n] {
        for (int i = 0; i < n; ++i)
            __dlog_print(LOG_ID_MAIN, DLOG_INFO, "velkin", "record %d", i);
    };
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, DlogStandin, testing::Values(
    Row{"LineFeedAdded", [] { __dlog_print(LOG_ID_MAIN, DLOG_INFO, "velkin", "a"); },
        "I/velkin: a\n", Pipe::Plain},
    Row{"LineFeedNotDoubled", [] { __dlog_print(LOG_ID_MAIN, DLOG_INFO, "velkin", "a %d\n", 7); },
        "I/velkin: a 7\n", Pipe::Plain},
    Row{"PriorityLetters", [] {
            for (int prio : {DLOG_VERBOSE, DLOG_DEBUG, DLOG_WARN, DLOG_ERROR, DLOG_FATAL})
                __dlog_print(LOG_ID_MAIN, prio, "t", "m");
        }, "V/t: m\nD/t: m\nW/t: m\nE/t: m\nF/t: m\n", Pipe::Plain},
    Row{"Text1023Bytes", TextOf(1023), RecordOf(1023), Pipe::Plain},
    Row{"Text1024Bytes", TextOf(1024), RecordOf(1024), Pipe::Plain},
    Row{"Text1025Bytes", TextOf(1025), RecordOf(1025), Pipe::Plain},
    Row{"Text5000Bytes", TextOf(5000), RecordOf(5000), Pipe::Plain},
    Row{"TextOverTheBuffer", TextOf(70000), RecordOf(70000), Pipe::Plain},
    Row{"RecordsAcrossFlushesInOrder", Records(5000), Numbered(5000), Pipe::Plain},
    Row{"NonBlockingSlowReader", TextOf(300000), RecordOf(300000), Pipe::NonBlocking},
    Row{"NonBlockingRecords", Records(20000), Numbered(20000), Pipe::NonBlocking},
    Row{"InterruptedSlowReader", TextOf(300000), RecordOf(300000), Pipe::Interrupted},
    Row{"InterruptedRecords", Records(20000), Numbered(20000), Pipe::Interrupted}),
    rows::NameOf());
// clang-format on

}  // namespace
