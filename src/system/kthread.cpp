// KThread: the shell a thread class derives from.
#include "ksystem.h"

KThread::KThread() : handle(nullptr), id((DWORD)-1)
{
}

KThread::~KThread()
{
    if (handle)
        CloseHandle(handle);
}
