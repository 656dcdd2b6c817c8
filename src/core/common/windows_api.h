#pragma once

// The Windows API for the files that need it, inside their _WIN32 branches.
// The C++ runtime of mingw-w64 may define NOMINMAX itself, and a second,
// different definition is an error with -Werror; without it the min and max
// macros would break std::min and std::max.
#ifndef _WIN32
#error "windows_api.h is for Windows builds only"
#endif

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
