// Dynamic libraries loaded by a name that may carry macros.
#include <stdarg.h>
#include "kservices.h"
#include "kmacro.h"

KLibrary::KLibrary() : module(nullptr) {}

KLibrary::~KLibrary()
{
    freeLibrary();
}

bool KLibrary::loadLibrary(const wchar_t* name)
{
    freeLibrary();
    path = ReplaceMacros(name);
    module = LoadLibraryW(path);
    return module != nullptr;
}

bool KLibrary::loadLibraryF(const char* format, ...)
{
    KString name;
    va_list args;
    va_start(args, format);
    name._vsprint(format, args);
    va_end(args);
    return loadLibrary(name);
}

FARPROC KLibrary::getProcAddress(const char* name) const
{
    return module ? GetProcAddress(module, name) : nullptr;
}

FARPROC KLibrary::getProcAddress(int ordinal) const
{
    return module ? GetProcAddress(module, MAKEINTRESOURCEA(ordinal)) : nullptr;
}

void KLibrary::freeLibrary()
{
    if (!module)
        return;
    FreeLibrary(module);
    module = nullptr;
}
