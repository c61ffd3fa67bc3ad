#pragma once
// The Windows API as the Win32 binding includes it: without the min and max
// macros, which clash with the standard library.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
