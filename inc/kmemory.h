// The allocation functions every part of the library uses, and Fatal, which
// ends the process on an impossible state. Kept apart from ksystem.h so that
// the array template can use them without pulling in windows.h.
#ifndef KORVEL_KMEMORY_H
#define KORVEL_KMEMORY_H

#include <stddef.h>
#include "kexport.h"

// A request for zero bytes gives null instead of a unique pointer.
KORVEL_API void* Malloc(size_t size);
KORVEL_API void* Calloc(size_t count, size_t size);
// Null when p is null and size is 0; otherwise the runtime's realloc.
KORVEL_API void* Realloc(void* p, size_t size);
KORVEL_API void Free(void* p);

// Ends the process with "FILE: <file> LINE: <line> <text>". Never returns.
KORVEL_API int Fatal(const char* file, int line, const char* format, ...);

#endif
