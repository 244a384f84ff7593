// Shared by the fuzz targets.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

// Aborts the run, naming the condition, when `ok` is false.
#define CHECK(ok) \
    if (!(ok))    \
    (std::fprintf(stderr, "check failed: %s\n", #ok), std::abort())

// Makes every GLib warning or critical that no handler of the code under test
// claims abort the run. (g_log_set_always_fatal would also override the
// tool's own handler for json-glib's out-of-range position reports.)
void FailOnGLibWarning();
// One strict JSON value: no comments, single quotes, trailing commas, bare
// words or non-finite numbers, valid UTF-8 and no raw control characters,
// none of which json-glib's own parser refuses.
bool StrictJson(const std::string& text);
