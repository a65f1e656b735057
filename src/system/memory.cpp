// The library's allocation functions over the C runtime heap, and a heap total
// used to watch for leaks.
#include "ksystem.h"
#include <malloc.h>
#include <stdlib.h>

void* Malloc(size_t size)
{
    if (size == 0)
        return nullptr;
    return malloc(size);
}

void* Calloc(size_t count, size_t size)
{
    if (count == 0 || size == 0)
        return nullptr;
    return calloc(count, size);
}

void* Realloc(void* p, size_t size)
{
    // realloc(nullptr, 0) may hand out a zero-sized block; keep "nothing" as null.
    if (!p && size == 0)
        return nullptr;
    return realloc(p, size);
}

void Free(void* p)
{
    free(p);
}

size_t GetHeapSize()
{
    _HEAPINFO info = {};
    int status = _heapwalk(&info);
    if (status != _HEAPOK)
        return 0;
    size_t total = 0;
    for (; status == _HEAPOK; status = _heapwalk(&info)) {
        if (info._useflag == _USEDENTRY)
            total += info._size;
    }
    return total;
}
