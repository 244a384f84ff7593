// The resource root compiled into a program: the build sets VELKIN_RESOURCE_ROOT.
#include "OutputFiles.h"

#ifndef VELKIN_RESOURCE_ROOT
#error "VELKIN_RESOURCE_ROOT must name the resource root"
#endif

const char kResourceRoot[] = VELKIN_RESOURCE_ROOT;
