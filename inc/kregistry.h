// Per-user registry keys with typed loads and stores, and the library's text
// preferences.
//
// A KRegistry holds at most one open key. Every failure throws
// KorvelException with group 10; the number is the Windows error code when a
// registry call failed, else 0. A failed load leaves its target as it was.
//
//     KRegistry reg;
//     reg.createKey(HKEY_CURRENT_USER, TARNWELL_CONFIG_SUBKEY);
//     reg.storeValue(L"Columns", columns);          // REG_DWORD
//     reg.openKey(HKEY_CURRENT_USER, TARNWELL_CONFIG_SUBKEY, KEY_READ);
//     reg.loadValue(L"Columns", &columns);
#ifndef KORVEL_KREGISTRY_H
#define KORVEL_KREGISTRY_H

#include <windows.h>
#include "kexport.h"
#include "kstring.h"
#include "array"

// Subkeys of HKEY_CURRENT_USER that the library uses.
extern KORVEL_API const wchar_t TARNWELL_WINDOWS_SUBKEY[];
extern KORVEL_API const wchar_t TARNWELL_CONFIG_SUBKEY[];
extern KORVEL_API const wchar_t TARNWELL_PREFERENCES_SUBKEY[];
extern KORVEL_API const wchar_t TARNWELL_REV_SUBKEY[];

class KORVEL_API KRegistry {
public:
    // No key open; records the running program's base name.
    KRegistry();
    // A copy shares the open key (no new handle); the key is closed when the
    // last object sharing it closes it or goes.
    KRegistry(const KRegistry& other);
    KRegistry& operator=(const KRegistry& other);
    ~KRegistry();

    // Opening. Each closes the key held before, also when it fails.
    // Opens subkey for reading (KEY_READ, with any further rights in access).
    void openKey(HKEY root, const KString& subkey, unsigned long access = KEY_READ);
    // Opens or creates subkey, non-volatile, for writing only (KEY_WRITE).
    void createKey(HKEY root, const KString& subkey);
    void closeKey();
    bool isOpen() const { return key != nullptr; }
    HKEY getKey() const { return key; }
    // Base name of the running program, such as "myapp.exe".
    const wchar_t* getExeName() const { return exeName; }

    // Loads. The value's type is checked before its size.
    // A REG_DWORD of exactly 4 bytes.
    void loadValue(const wchar_t* name, int* value);
    // The same, true when not 0.
    void loadValue(const wchar_t* name, bool* value);
    // A REG_SZ; a value stored without its terminator reads as well.
    void loadValue(const wchar_t* name, KString* value);
    // A REG_BINARY of at most size bytes, into the start of buffer.
    void loadValue(const wchar_t* name, void* buffer, int size);
    // A REG_MULTI_SZ: list becomes its strings, in order, up to the empty
    // string that ends the value (so an empty string ends a list).
    void loadValue(const wchar_t* name, KArray<KString>& list);

    // Stores, replacing any value of the name whatever its type.
    void storeValue(const wchar_t* name, int value);
    void storeValue(const wchar_t* name, const void* data, int size);
    // (length + 1) * 2 bytes, terminator included.
    void storeValue(const wchar_t* name, const KString& value);
    // Each string with its terminator, then one more 0; an empty list is one 0.
    void storeValue(const wchar_t* name, const KArray<KString>& list);

private:
    // Holds h as the only sharer; closes h when that cannot be recorded.
    void adopt(HKEY h);
    // Gives up this object's share of the key.
    void release();

    HKEY key;
    // Objects sharing key, counted in one heap cell; null when no key is open.
    long* sharers;
    wchar_t exeName[256];
};

// The text preference name under HKEY_CURRENT_USER\Software\Tarnwell\Preferences.
// False, silently and with value unchanged, when it cannot be read.
KORVEL_API bool ReadRegPref(const wchar_t* name, KString* value);
// Stores it; a failure is shown in an error box (01-1028) and gives false.
KORVEL_API bool StoreRegPref(const wchar_t* name, const KString& value);

#endif
