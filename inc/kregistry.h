// Per-user registry keys with typed loads and stores. Every failure throws
// KorvelException with group 10 and the Windows error code as number.
#ifndef KORVEL_KREGISTRY_H
#define KORVEL_KREGISTRY_H

#include <windows.h>
#include "kexport.h"
#include "kstring.h"

extern KORVEL_API const wchar_t TARNWELL_WINDOWS_SUBKEY[];
extern KORVEL_API const wchar_t TARNWELL_CONFIG_SUBKEY[];
extern KORVEL_API const wchar_t TARNWELL_PREFERENCES_SUBKEY[];
extern KORVEL_API const wchar_t TARNWELL_REV_SUBKEY[];

class KORVEL_API KRegistry {
public:
    KRegistry();
    ~KRegistry();

    // Opens subkey for reading; closes any key open before.
    void openKey(HKEY root, const KString& subkey, unsigned long access = KEY_READ);
    // Opens or creates subkey for writing; closes any key open before.
    void createKey(HKEY root, const KString& subkey);
    void closeKey();

    void loadValue(const wchar_t* name, int* value);
    void loadValue(const wchar_t* name, bool* value);
    // Reads a REG_BINARY into buffer; the stored value must fit in size bytes.
    void loadValue(const wchar_t* name, void* buffer, int size);
    void storeValue(const wchar_t* name, int value);
    void storeValue(const wchar_t* name, const void* data, int size);

private:
    // Reads a value's type and size; throws when it is missing.
    void query(const wchar_t* name, DWORD* type, DWORD* size, void* data);

    HKEY key;
    wchar_t exeName[256];
};

#endif
