// Shared by tapster.rc and the C++ code, so plain macros only: the resource
// compilers' preprocessors understand nothing else.
#ifndef TAPSTER_PLATFORM_WIN32_RESOURCE_IDS_H
#define TAPSTER_PLATFORM_WIN32_RESOURCE_IDS_H

// The lowest icon ID is the one Explorer shows for the executable.
#define IDI_TAPSTER 1
#define IDI_CHECKMARK 2

#endif
