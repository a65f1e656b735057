// KRegistry: one open registry key with typed loads and stores.
#include "kregistry.h"
#include "kdiag.h"

const wchar_t TARNWELL_WINDOWS_SUBKEY[] = L"Software\\Tarnwell\\Windows";
const wchar_t TARNWELL_CONFIG_SUBKEY[] = L"Software\\Tarnwell\\Config";
const wchar_t TARNWELL_PREFERENCES_SUBKEY[] = L"Software\\Tarnwell\\Preferences";
const wchar_t TARNWELL_REV_SUBKEY[] = L"Software\\Tarnwell\\6.3";

KRegistry::KRegistry() : key(nullptr)
{
    wchar_t path[MAX_PATH] = {0};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const wchar_t* base = path;
    for (const wchar_t* p = path; *p; ++p)
        if (*p == L'\\')
            base = p + 1;
    lstrcpynW(exeName, base, 256);
}

KRegistry::~KRegistry()
{
    closeKey();
}

void KRegistry::closeKey()
{
    if (key)
        RegCloseKey(key);
    key = nullptr;
}

void KRegistry::openKey(HKEY root, const KString& subkey, unsigned long)
{
    closeKey();
    LONG rc = RegOpenKeyExW(root, subkey, 0, KEY_READ, &key);
    if (rc != ERROR_SUCCESS) {
        key = nullptr;
        KString reason = GetWin32Error(rc);
        throw KorvelException(10, rc, "Open Registry Key(%S) Failed\n%S", &subkey, &reason);
    }
}

void KRegistry::createKey(HKEY root, const KString& subkey)
{
    closeKey();
    LONG rc = RegCreateKeyExW(root, subkey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                              nullptr, &key, nullptr);
    if (rc != ERROR_SUCCESS) {
        key = nullptr;
        throw KorvelException(10, rc, "Create Registry Key (%S) Failed", &subkey);
    }
}

void KRegistry::query(const wchar_t* name, DWORD* type, DWORD* size, void* data)
{
    LONG rc = RegQueryValueExW(key, name, nullptr, type, static_cast<BYTE*>(data), size);
    if (rc == ERROR_MORE_DATA)
        throw KorvelException(10, 0, "Buffer too small for %U", name);
    if (rc != ERROR_SUCCESS)
        throw KorvelException(10, rc, "RegQueryValueEx(%U) Failed", name);
}

void KRegistry::loadValue(const wchar_t* name, int* value)
{
    DWORD type = 0, size = sizeof(DWORD), data = 0;
    query(name, &type, &size, &data);
    if (type != REG_DWORD)
        throw KorvelException(10, 0, "Incorrect type for %U", name);
    if (size != sizeof(DWORD))
        throw KorvelException(10, 0, "Incorrect size of %d for %U", (int)size, name);
    *value = (int)data;
}

void KRegistry::loadValue(const wchar_t* name, bool* value)
{
    int v = 0;
    loadValue(name, &v);
    *value = v != 0;
}

void KRegistry::loadValue(const wchar_t* name, void* buffer, int size)
{
    DWORD type = 0, got = 0;
    query(name, &type, &got, nullptr);
    if (type != REG_BINARY)
        throw KorvelException(10, 0, "Incorrect type for %U", name);
    if ((int)got > size)
        throw KorvelException(10, 0, "Buffer too small for %U", name);
    query(name, &type, &got, buffer);
}

void KRegistry::storeValue(const wchar_t* name, int value)
{
    DWORD data = (DWORD)value;
    LONG rc = RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof(data));
    if (rc != ERROR_SUCCESS)
        throw KorvelException(10, rc, "RegSetValueEx(%U,%d) Failed", name, value);
}

void KRegistry::storeValue(const wchar_t* name, const void* data, int size)
{
    LONG rc = RegSetValueExW(key, name, 0, REG_BINARY, static_cast<const BYTE*>(data), size);
    if (rc != ERROR_SUCCESS)
        throw KorvelException(10, rc, "RegSetValueEx(%U) Failed", name);
}
