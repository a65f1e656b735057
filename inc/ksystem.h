// System services: the library's allocation functions, the high-resolution
// clock, the recursive lock KMutex and the thread shell KThread.
#ifndef KORVEL_KSYSTEM_H
#define KORVEL_KSYSTEM_H

#include <windows.h>
#include <stddef.h>
#include "kexport.h"
#include "kmemory.h"
// Total bytes of the runtime heap's blocks in use; 0 if the heap cannot be walked.
KORVEL_API size_t GetHeapSize();

// Seconds from the performance counter.
KORVEL_API double get_time();

// Recursive lock over a critical section. Constructed from another mutex it is
// a scoped lock: it holds that mutex until it is destroyed.
//
//     KMutex guard(&logLock);   // entered here, left at the end of the scope
class KORVEL_API KMutex {
public:
    KMutex();
    explicit KMutex(KMutex* other);
    ~KMutex();

    KMutex(const KMutex&) = delete;
    KMutex& operator=(const KMutex&) = delete;

    // Both act on the owner's section for a scoped lock.
    void enter();
    void leave();

private:
    KMutex* target() { return owner ? owner : this; }

    CRITICAL_SECTION section;
    int count;
    KMutex* owner;
};

// Thread shell: a handle (null until a derived class starts a thread) and an
// id (-1). The destructor closes the handle.
class KORVEL_API KThread {
public:
    KThread();
    virtual ~KThread();

    KThread(const KThread&) = delete;
    KThread& operator=(const KThread&) = delete;

    HANDLE getHandle() const { return handle; }
    DWORD getId() const { return id; }

protected:
    HANDLE handle;
    DWORD id;
};

#endif
