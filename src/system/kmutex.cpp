// KMutex: the library's one lock, a critical section with a scoped form.
#include "ksystem.h"

KMutex::KMutex() : section(), count(0), owner(nullptr)
{
    InitializeCriticalSection(&section);
}

// Scoped lock: the own section stays unused; only the owner's is entered.
KMutex::KMutex(KMutex* other) : section(), count(0), owner(other)
{
    owner->enter();
}

KMutex::~KMutex()
{
    if (owner) {
        owner->leave();
        return;
    }
    DeleteCriticalSection(&section);
}

void KMutex::enter()
{
    KMutex* m = target();
    EnterCriticalSection(&m->section);
    ++m->count;
}

void KMutex::leave()
{
    KMutex* m = target();
    --m->count;
    LeaveCriticalSection(&m->section);
}
