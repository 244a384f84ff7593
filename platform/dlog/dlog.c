/* Stand-in for the platform log service.
 *
 * One record per call on standard error: the priority letter, "/", the tag,
 * ": ", the formatted text, and a line feed only when the text does not
 * already end with one. Records are collected in a buffer of our own so a run
 * that logs thousands of lines does not pay a system call for each; the buffer
 * is flushed when full and at exit. */
#include "dlog.h"

#include <errno.h>
#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#define DLOG_BUFFER_SIZE (64 * 1024)

static char buffer[DLOG_BUFFER_SIZE];
static size_t used;
static int flush_registered;

/* Waits until a non-blocking standard error takes bytes again; 0 when it
 * never will. */
static int wait_writable(void)
{
    struct pollfd out = {STDERR_FILENO, POLLOUT, 0};
    int n;
    do
        n = poll(&out, 1, -1);
    while (n < 0 && errno == EINTR);
    return n > 0 && (out.revents & POLLOUT) != 0;
}

/* A write may be interrupted by a signal, take only part of the data (a pipe
 * whose reader is slow) or, on a non-blocking standard error, take nothing
 * for now: each time the rest is written again. */
static void write_all(const char *data, size_t len)
{
    while (len > 0) {
        ssize_t n = write(STDERR_FILENO, data, len);
        if (n < 0) {
            if (errno == EINTR || ((errno == EAGAIN || errno == EWOULDBLOCK) && wait_writable()))
                continue;
            return; /* nobody to tell: the log is best effort */
        }
        data += n;
        len -= (size_t)n;
    }
}

static void flush_buffer(void)
{
    write_all(buffer, used);
    used = 0;
}

static void append(const char *data, size_t len)
{
    if (used + len > sizeof buffer) {
        flush_buffer();
        if (len > sizeof buffer) {
            write_all(data, len);
            return;
        }
    }
    memcpy(buffer + used, data, len);
    used += len;
}

static char priority_letter(int prio)
{
    static const char letters[] = "??VDIWEFS";
    if (prio < 0 || prio >= DLOG_PRIO_MAX)
        return '?';
    return letters[prio];
}

/* The formatted text in `small`, or in a buffer of its size from malloc
   (set in *text) when it does not fit; its length, or -1. */
static int format_text(char *small, size_t size, char **text, const char *fmt, va_list ap)
{
    va_list copy;
    int len;

    va_copy(copy, ap);
    len = vsnprintf(small, size, fmt, copy);
    va_end(copy);
    if (len < 0 || (size_t)len < size)
        return len;
    *text = malloc((size_t)len + 1);
    if (*text == NULL)
        return -1;
    vsnprintf(*text, (size_t)len + 1, fmt, ap);
    return len;
}

int __dlog_vprint(log_id_t log_id, int prio, const char *tag, const char *fmt, va_list ap)
{
    char small[1024];
    char *text = small;
    int len;

    (void)log_id;
    if (!flush_registered) {
        atexit(flush_buffer);
        flush_registered = 1;
    }
    if (tag == NULL)
        tag = "";
    if (fmt == NULL)
        fmt = "";

    len = format_text(small, sizeof small, &text, fmt, ap);
    if (len < 0)
        return -1;

    char head[2] = {priority_letter(prio), '/'};
    append(head, sizeof head);
    append(tag, strlen(tag));
    append(": ", 2);
    append(text, (size_t)len);
    if (len == 0 || text[len - 1] != '\n')
        append("\n", 1);

    if (text != small)
        free(text);
    return len;
}

int __dlog_print(log_id_t log_id, int prio, const char *tag, const char *fmt, ...)
{
    va_list ap;
    int ret;

    va_start(ap, fmt);
    ret = __dlog_vprint(log_id, prio, tag, fmt, ap);
    va_end(ap);
    return ret;
}
