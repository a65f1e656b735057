// KRegistry: one open registry key with typed loads and stores; ReadRegPref
// and StoreRegPref.
#include "kregistry.h"
#include "kdiag.h"
#include <new>
#include <string.h>
#include <utility>

const wchar_t TARNWELL_WINDOWS_SUBKEY[] = L"Software\\Tarnwell\\Windows";
const wchar_t TARNWELL_CONFIG_SUBKEY[] = L"Software\\Tarnwell\\Config";
const wchar_t TARNWELL_PREFERENCES_SUBKEY[] = L"Software\\Tarnwell\\Preferences";
const wchar_t TARNWELL_REV_SUBKEY[] = L"Software\\Tarnwell\\6.3";

namespace {

// The value's name as the messages show it; null names the key's default value.
const wchar_t* Shown(const wchar_t* name)
{
    return name ? name : L"";
}

// The bytes of a value of the type wanted, followed by at least four 0 bytes
// so that text lacking its terminators still ends; *size receives the stored
// size.
KArray<unsigned char> ReadBytes(HKEY key, const wchar_t* name, DWORD wanted, DWORD* size)
{
    // The value may change between the question for its size and the read;
    // then the read reports more data, and the question is asked again.
    for (int attempt = 0;; ++attempt) {
        DWORD type = 0, stored = 0;
        LONG rc = RegQueryValueExW(key, name, nullptr, &type, nullptr, &stored);
        if (rc != ERROR_SUCCESS)
            throw KorvelException(10, rc, "RegQueryValueEx(%U) Failed", Shown(name));
        if (type != wanted)
            throw KorvelException(10, 0, "Incorrect type for %U", Shown(name));
        KArray<unsigned char> data((int)stored + 4);
        DWORD got = stored;
        rc = RegQueryValueExW(key, name, nullptr, &type, data.begin(), &got);
        if (rc == ERROR_MORE_DATA && attempt < 8)
            continue;
        if (rc != ERROR_SUCCESS)
            throw KorvelException(10, rc, "RegQueryValueEx(%U) Failed", Shown(name));
        if (type != wanted)
            throw KorvelException(10, 0, "Incorrect type for %U", Shown(name));
        *size = got;
        return data;
    }
}

LONG WriteBytes(HKEY key, const wchar_t* name, DWORD type, const void* data, DWORD size)
{
    return RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size);
}

// The bytes as text; an odd last byte, half a character, is dropped.
const wchar_t* AsText(KArray<unsigned char>& data, DWORD size)
{
    if (size & 1)
        data[(int)size - 1] = 0;
    return reinterpret_cast<const wchar_t*>(data.begin());
}

const wchar_t* TextOf(const KString& s)
{
    const wchar_t* text = s;
    return text ? text : L"";
}

} // namespace

KRegistry::KRegistry() : key(nullptr), sharers(nullptr)
{
    wchar_t path[MAX_PATH] = {0};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const wchar_t* base = path;
    for (const wchar_t* p = path; *p; ++p)
        if (*p == L'\\' || *p == L'/')
            base = p + 1;
    lstrcpynW(exeName, base, 256);
}

KRegistry::KRegistry(const KRegistry& other) : key(other.key), sharers(other.sharers)
{
    if (sharers)
        InterlockedIncrement(sharers);
    memcpy(exeName, other.exeName, sizeof(exeName));
}

KRegistry& KRegistry::operator=(const KRegistry& other)
{
    if (this == &other)
        return *this;
    if (other.sharers)
        InterlockedIncrement(other.sharers);
    release();
    key = other.key;
    sharers = other.sharers;
    memcpy(exeName, other.exeName, sizeof(exeName));
    return *this;
}

KRegistry::~KRegistry()
{
    release();
}

void KRegistry::adopt(HKEY h)
{
    long* count = new (std::nothrow) long(1);
    if (!count) {
        RegCloseKey(h);
        throw std::bad_alloc();
    }
    key = h;
    sharers = count;
}

void KRegistry::release()
{
    if (!key)
        return;
    if (InterlockedDecrement(sharers) == 0) {
        RegCloseKey(key);
        delete sharers;
    }
    key = nullptr;
    sharers = nullptr;
}

void KRegistry::closeKey()
{
    release();
}

void KRegistry::openKey(HKEY root, const KString& subkey, unsigned long access)
{
    release();
    HKEY h = nullptr;
    LONG rc = RegOpenKeyExW(root, TextOf(subkey), 0, access | KEY_READ, &h);
    if (rc != ERROR_SUCCESS) {
        KString reason = GetWin32Error(rc);
        throw KorvelException(10, rc, "Open Registry Key(%S) Failed\n%S", &subkey, &reason);
    }
    adopt(h);
}

void KRegistry::createKey(HKEY root, const KString& subkey)
{
    release();
    HKEY h = nullptr;
    LONG rc = RegCreateKeyExW(root, TextOf(subkey), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                              nullptr, &h, nullptr);
    if (rc != ERROR_SUCCESS)
        throw KorvelException(10, rc, "Create Registry Key (%S) Failed", &subkey);
    adopt(h);
}

void KRegistry::loadValue(const wchar_t* name, int* value)
{
    DWORD size = 0;
    KArray<unsigned char> data = ReadBytes(key, name, REG_DWORD, &size);
    if (size != sizeof(DWORD))
        throw KorvelException(10, 0, "Incorrect size of %d for %U", (int)size, Shown(name));
    DWORD v = 0;
    memcpy(&v, data.begin(), sizeof(v));
    *value = (int)v;
}

void KRegistry::loadValue(const wchar_t* name, bool* value)
{
    int v = 0;
    loadValue(name, &v);
    *value = v != 0;
}

void KRegistry::loadValue(const wchar_t* name, KString* value)
{
    DWORD size = 0;
    KArray<unsigned char> data = ReadBytes(key, name, REG_SZ, &size);
    *value = AsText(data, size);
}

void KRegistry::loadValue(const wchar_t* name, void* buffer, int size)
{
    DWORD got = 0;
    KArray<unsigned char> data = ReadBytes(key, name, REG_BINARY, &got);
    if (size < 0 || got > (DWORD)size)
        throw KorvelException(10, 0, "Buffer too small for %U", Shown(name));
    if (got)
        memcpy(buffer, data.begin(), got);
}

void KRegistry::loadValue(const wchar_t* name, KArray<KString>& list)
{
    DWORD size = 0;
    KArray<unsigned char> data = ReadBytes(key, name, REG_MULTI_SZ, &size);
    const wchar_t* units = AsText(data, size);
    const int count = (int)(size / 2);
    KArray<KString> strings;
    for (int i = 0; i < count && units[i];) {
        strings.append(KString(units + i));
        i += strings[strings.count() - 1].length() + 1;
    }
    list = std::move(strings);
}

void KRegistry::storeValue(const wchar_t* name, int value)
{
    DWORD data = (DWORD)value;
    LONG rc = WriteBytes(key, name, REG_DWORD, &data, sizeof(data));
    if (rc != ERROR_SUCCESS)
        throw KorvelException(10, rc, "RegSetValueEx(%U,%d) Failed", Shown(name), value);
}

void KRegistry::storeValue(const wchar_t* name, const void* data, int size)
{
    if (size < 0 || (!data && size > 0))
        throw KorvelException(10, 0, "RegSetValueEx(%U) Failed", Shown(name));
    LONG rc = WriteBytes(key, name, REG_BINARY, data, (DWORD)size);
    if (rc != ERROR_SUCCESS)
        throw KorvelException(10, rc, "RegSetValueEx(%U) Failed", Shown(name));
}

// The number in the failure text is the size of the value in bytes.
void KRegistry::storeValue(const wchar_t* name, const KString& value)
{
    const int bytes = (value.length() + 1) * 2;
    LONG rc = WriteBytes(key, name, REG_SZ, TextOf(value), (DWORD)bytes);
    if (rc != ERROR_SUCCESS)
        throw KorvelException(10, rc, "RegSetValueEx(%U,%d) Failed", Shown(name), bytes);
}

void KRegistry::storeValue(const wchar_t* name, const KArray<KString>& list)
{
    int units = 1;
    for (const KString& s : list)
        units += s.length() + 1;
    KArray<wchar_t> block(units); // zeroed: every terminator is already in place
    int at = 0;
    for (const KString& s : list) {
        memcpy(block.begin() + at, TextOf(s), (size_t)s.length() * sizeof(wchar_t));
        at += s.length() + 1;
    }
    const int bytes = units * 2;
    LONG rc = WriteBytes(key, name, REG_MULTI_SZ, block.begin(), (DWORD)bytes);
    if (rc != ERROR_SUCCESS)
        throw KorvelException(10, rc, "RegSetValueEx(%U,%d) Failed", Shown(name), bytes);
}

bool ReadRegPref(const wchar_t* name, KString* value)
{
    try {
        KRegistry reg;
        reg.openKey(HKEY_CURRENT_USER, TARNWELL_PREFERENCES_SUBKEY, KEY_READ);
        reg.loadValue(name, value);
        return true;
    } catch (const KorvelException&) {
        return false;
    }
}

bool StoreRegPref(const wchar_t* name, const KString& value)
{
    try {
        KRegistry reg;
        reg.createKey(HKEY_CURRENT_USER, TARNWELL_PREFERENCES_SUBKEY);
        reg.storeValue(name, value);
        return true;
    } catch (const KorvelException& e) {
        e.popupMessage(ERRCODE(1, 1028), "Could not store %U='%S' to registry.", Shown(name), &value);
        return false;
    }
}
