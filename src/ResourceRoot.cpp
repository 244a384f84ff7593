// The resource root compiled into a program: the system's, or the relative
// one the build names in VELKIN_TEST_RESOURCE_ROOT for the tests' program.
#include "Facts.h"
#include "OutputFiles.h"

#ifdef VELKIN_TEST_RESOURCE_ROOT
const char* const kResourceRoot = VELKIN_TEST_RESOURCE_ROOT;
#else
const char* const kResourceRoot = velkin::kSystemResourceRoot;
#endif
