// KRegistry against Wine's real HKEY_CURRENT_USER: every typed value, wrong
// types and sizes, failing calls, shared copies, string lists; ReadRegPref
// and StoreRegPref. Each test removes the keys and values it made.
#include <gtest/gtest.h>
#include <windows.h>
#include <limits.h>
#include <string>
#include <functional>
#include <vector>
#include <korvel.h>

// The message boxes (title, text) that f shows, each closed; optionfile_test.cpp.
std::vector<std::pair<std::wstring, std::wstring>> BoxesShownBy(const std::function<void()>& f);

namespace {

std::wstring Wide(const KString& s)
{
    return std::wstring((const wchar_t*)s, s.length());
}

// What a call threw: KorvelException's group, number and text.
struct Thrown {
    bool thrown = false;
    int group = 0;
    int number = 0;
    std::wstring text;
};

template <class F>
Thrown Catch(F f)
{
    Thrown t;
    try {
        f();
    } catch (const KorvelException& e) {
        t.thrown = true;
        t.group = e.group;
        t.number = e.number;
        t.text = Wide(e.text);
    }
    return t;
}

bool KeyExists(const wchar_t* subkey)
{
    HKEY h;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, subkey, 0, KEY_READ, &h) != ERROR_SUCCESS)
        return false;
    RegCloseKey(h);
    return true;
}

// A raw value, written past KRegistry.
void PutRaw(const std::wstring& subkey, const wchar_t* name, DWORD type, const void* data, DWORD size)
{
    HKEY h;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, subkey.c_str(), 0, nullptr, 0,
                                             KEY_WRITE, nullptr, &h, nullptr));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(h, name, 0, type, (const BYTE*)data, size));
    RegCloseKey(h);
}

// A raw value's type and bytes, read past KRegistry.
bool GetRaw(const std::wstring& subkey, const wchar_t* name, DWORD* type, std::vector<BYTE>* data)
{
    HKEY h;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, subkey.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS)
        return false;
    DWORD size = 0;
    LONG rc = RegQueryValueExW(h, name, nullptr, type, nullptr, &size);
    data->assign(size, 0);
    if (rc == ERROR_SUCCESS && size)
        rc = RegQueryValueExW(h, name, nullptr, type, data->data(), &size);
    RegCloseKey(h);
    return rc == ERROR_SUCCESS;
}

KArray<KString> List(std::initializer_list<const wchar_t*> items)
{
    KArray<KString> list;
    for (const wchar_t* s : items)
        list.append(KString(s));
    return list;
}

std::vector<std::wstring> Items(const KArray<KString>& list)
{
    std::vector<std::wstring> out;
    for (const KString& s : list)
        out.push_back(Wide(s));
    return out;
}

// A key of this process's own under HKEY_CURRENT_USER, removed with its
// parent (when empty) after each test.
class RegistryTest : public testing::Test {
protected:
    void SetUp() override
    {
        wchar_t name[80];
        swprintf(name, 80, L"Software\\KorvelTests\\Registry %lu", GetCurrentProcessId());
        sub = name;
        RegDeleteTreeW(HKEY_CURRENT_USER, sub.c_str());
    }
    void TearDown() override
    {
        RegDeleteTreeW(HKEY_CURRENT_USER, sub.c_str());
        RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\KorvelTests");
        EXPECT_FALSE(KeyExists(sub.c_str()));
    }
    KString key() const { return KString(sub.c_str()); }
    std::wstring sub;
};

TEST_F(RegistryTest, EveryTypeRoundTripsWithTheDocumentedLayout)
{
    std::wstring longText;
    for (int i = 0; i < 5000; ++i)
        longText += (wchar_t)(L'a' + i % 26);
    unsigned char blob[37];
    for (int i = 0; i < 37; ++i)
        blob[i] = (unsigned char)(i * 7); // holds 0 bytes too

    {
        KRegistry w;
        w.createKey(HKEY_CURRENT_USER, key());
        ASSERT_TRUE(w.isOpen());
        w.storeValue(L"Int", 123456789);
        w.storeValue(L"Min", INT_MIN);
        w.storeValue(L"Zero", 0);
        w.storeValue(L"Two", 2);
        w.storeValue(L"Text", KString(L"Gr\x00FC\x00DF" L"e \x263A"));
        w.storeValue(L"Empty Text", KString());
        w.storeValue(L"Long Text", KString(longText.c_str()));
        w.storeValue(nullptr, KString(L"the default value"));
        w.storeValue(L"Blob", blob, 37);
        w.storeValue(L"Empty Blob", blob, 0);
        w.storeValue(L"List", List({L"alpha", L"\x03B2 beta", L"gamma with blanks"}));
        w.storeValue(L"Empty List", KArray<KString>());
        w.storeValue(L"One", List({L"x"}));
    }

    // The stored types and sizes, read past the library.
    struct Layout {
        const wchar_t* name;
        DWORD type;
        DWORD size;
    } layouts[] = {
        {L"Int", REG_DWORD, 4},
        {L"Text", REG_SZ, (7 + 1) * 2},
        {L"Empty Text", REG_SZ, 2},
        {L"Long Text", REG_SZ, 5001 * 2},
        {L"Blob", REG_BINARY, 37},
        {L"Empty Blob", REG_BINARY, 0},
        {L"List", REG_MULTI_SZ, (5 + 6 + 17 + 3 + 1) * 2},
        {L"Empty List", REG_MULTI_SZ, 2},
        {L"One", REG_MULTI_SZ, 3 * 2},
    };
    for (const Layout& l : layouts) {
        DWORD type = 0;
        std::vector<BYTE> data;
        ASSERT_TRUE(GetRaw(sub, l.name, &type, &data)) << Wide(l.name);
        EXPECT_EQ(l.type, type) << Wide(l.name);
        EXPECT_EQ(l.size, data.size()) << Wide(l.name);
    }
    DWORD type = 0;
    std::vector<BYTE> raw;
    ASSERT_TRUE(GetRaw(sub, L"List", &type, &raw));
    const wchar_t* units = (const wchar_t*)raw.data();
    EXPECT_EQ(std::wstring(L"alpha\0\x03B2 beta\0gamma with blanks\0\0", 32), std::wstring(units, 32));
    ASSERT_TRUE(GetRaw(sub, L"Text", &type, &raw));
    EXPECT_EQ(0, raw[14] | raw[15]) << "the terminator is stored";

    KRegistry r;
    r.openKey(HKEY_CURRENT_USER, key(), KEY_READ);
    int i = 0;
    r.loadValue(L"Int", &i);
    EXPECT_EQ(123456789, i);
    r.loadValue(L"Min", &i);
    EXPECT_EQ(INT_MIN, i);
    bool b = true;
    r.loadValue(L"Zero", &b);
    EXPECT_FALSE(b);
    r.loadValue(L"Two", &b);
    EXPECT_TRUE(b);

    KString s;
    r.loadValue(L"Text", &s);
    EXPECT_EQ(L"Gr\x00FC\x00DF" L"e \x263A", Wide(s));
    r.loadValue(L"Empty Text", &s);
    EXPECT_EQ(0, s.length());
    r.loadValue(L"Long Text", &s);
    EXPECT_EQ(longText, Wide(s));
    r.loadValue(nullptr, &s);
    EXPECT_EQ(L"the default value", Wide(s));

    unsigned char back[64];
    memset(back, 0xCC, sizeof(back));
    r.loadValue(L"Blob", back, sizeof(back));
    EXPECT_EQ(0, memcmp(back, blob, 37));
    EXPECT_EQ(0xCC, back[37]) << "bytes past the value stay as they were";
    r.loadValue(L"Empty Blob", back, 0);
    r.loadValue(L"Blob", back, 37); // exactly the size fits

    KArray<KString> list = List({L"old 1", L"old 2", L"old 3", L"old 4"});
    r.loadValue(L"List", list);
    EXPECT_EQ((std::vector<std::wstring>{L"alpha", L"\x03B2 beta", L"gamma with blanks"}), Items(list));
    r.loadValue(L"Empty List", list);
    EXPECT_EQ(0, list.count());
    r.loadValue(L"One", list);
    EXPECT_EQ(std::vector<std::wstring>{L"x"}, Items(list));

    // A store replaces a value of another type.
    KRegistry w;
    w.createKey(HKEY_CURRENT_USER, key());
    w.storeValue(L"Int", KString(L"now text"));
    ASSERT_TRUE(GetRaw(sub, L"Int", &type, &raw));
    EXPECT_EQ((DWORD)REG_SZ, type);
}

TEST_F(RegistryTest, WrongTypesAndSizesThrowTheirTextsAndLeaveTheTargets)
{
    const DWORD seven = 7;
    const unsigned char eight[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    const wchar_t text[] = L"text";
    const wchar_t multi[] = L"a\0b\0";
    unsigned char big[64] = {0};
    PutRaw(sub, L"Text", REG_SZ, text, sizeof(text));
    PutRaw(sub, L"Expand", REG_EXPAND_SZ, text, sizeof(text));
    PutRaw(sub, L"Multi", REG_MULTI_SZ, multi, sizeof(multi));
    PutRaw(sub, L"Number", REG_DWORD, &seven, 4);
    PutRaw(sub, L"Short Blob", REG_BINARY, eight, 2);
    PutRaw(sub, L"Dword2", REG_DWORD, eight, 2);
    PutRaw(sub, L"Dword8", REG_DWORD, eight, 8);
    PutRaw(sub, L"Big Blob", REG_BINARY, big, 64);

    KRegistry r;
    r.openKey(HKEY_CURRENT_USER, key(), KEY_READ);
    int i = 4242;
    bool b = true;
    KString s(L"keep");
    unsigned char buf[16];
    memset(buf, 0xAB, sizeof(buf));
    KArray<KString> list = List({L"keep"});

    struct Case {
        const char* what;
        Thrown got;
        const wchar_t* text;
        int number;
    } cases[] = {
        {"int from text", Catch([&] { r.loadValue(L"Text", &i); }), L"Incorrect type for Text", 0},
        {"int from 2-byte binary, type before size", Catch([&] { r.loadValue(L"Short Blob", &i); }),
         L"Incorrect type for Short Blob", 0},
        {"int from a 64-byte binary", Catch([&] { r.loadValue(L"Big Blob", &i); }),
         L"Incorrect type for Big Blob", 0},
        {"int of 2 bytes", Catch([&] { r.loadValue(L"Dword2", &i); }), L"Incorrect size of 2 for Dword2", 0},
        {"int of 8 bytes", Catch([&] { r.loadValue(L"Dword8", &i); }), L"Incorrect size of 8 for Dword8", 0},
        {"bool from text", Catch([&] { r.loadValue(L"Text", &b); }), L"Incorrect type for Text", 0},
        {"bool of 2 bytes", Catch([&] { r.loadValue(L"Dword2", &b); }), L"Incorrect size of 2 for Dword2", 0},
        {"text from number", Catch([&] { r.loadValue(L"Number", &s); }), L"Incorrect type for Number", 0},
        {"text from expandable text", Catch([&] { r.loadValue(L"Expand", &s); }), L"Incorrect type for Expand", 0},
        {"text from list", Catch([&] { r.loadValue(L"Multi", &s); }), L"Incorrect type for Multi", 0},
        {"binary from text", Catch([&] { r.loadValue(L"Text", buf, 16); }), L"Incorrect type for Text", 0},
        {"binary too big", Catch([&] { r.loadValue(L"Big Blob", buf, 16); }), L"Buffer too small for Big Blob", 0},
        {"binary into a negative size", Catch([&] { r.loadValue(L"Short Blob", buf, -1); }),
         L"Buffer too small for Short Blob", 0},
        {"list from text", Catch([&] { r.loadValue(L"Text", list); }), L"Incorrect type for Text", 0},
        {"list from number", Catch([&] { r.loadValue(L"Number", list); }), L"Incorrect type for Number", 0},
        {"missing int", Catch([&] { r.loadValue(L"Nothing Here", &i); }),
         L"RegQueryValueEx(Nothing Here) Failed", ERROR_FILE_NOT_FOUND},
        {"missing text", Catch([&] { r.loadValue(L"Nothing Here", &s); }),
         L"RegQueryValueEx(Nothing Here) Failed", ERROR_FILE_NOT_FOUND},
        {"missing binary", Catch([&] { r.loadValue(L"Nothing Here", buf, 16); }),
         L"RegQueryValueEx(Nothing Here) Failed", ERROR_FILE_NOT_FOUND},
        {"missing list", Catch([&] { r.loadValue(L"Nothing Here", list); }),
         L"RegQueryValueEx(Nothing Here) Failed", ERROR_FILE_NOT_FOUND},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(c.got.thrown) << c.what;
        EXPECT_EQ(10, c.got.group) << c.what;
        EXPECT_EQ(c.number, c.got.number) << c.what;
        EXPECT_EQ(std::wstring(c.text), c.got.text) << c.what;
    }
    EXPECT_EQ(4242, i);
    EXPECT_TRUE(b);
    EXPECT_EQ(L"keep", Wide(s));
    for (unsigned char c : buf)
        EXPECT_EQ(0xAB, c);
    EXPECT_EQ(std::vector<std::wstring>{L"keep"}, Items(list));

    // The right reads still work on the same key afterwards.
    r.loadValue(L"Number", &i);
    EXPECT_EQ(7, i);
    r.loadValue(L"Short Blob", buf, 16);
    EXPECT_EQ(1, buf[0]);
    EXPECT_EQ(2, buf[1]);
    EXPECT_EQ(0xAB, buf[2]);
}

TEST_F(RegistryTest, FailingCallsGiveTheirTextsAndWindowsErrorNumbers)
{
    KRegistry reg;
    KString missing = key() + KString(L"\\No Such Key");
    Thrown t = Catch([&] { reg.openKey(HKEY_CURRENT_USER, missing, KEY_READ); });
    EXPECT_EQ(10, t.group);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, t.number);
    KString reason = GetWin32Error(ERROR_FILE_NOT_FOUND);
    ASSERT_TRUE(reason.notNull());
    EXPECT_EQ(L"Open Registry Key(" + Wide(missing) + L") Failed\n" + Wide(reason), t.text);
    EXPECT_FALSE(reg.isOpen());

    // A key name part longer than the registry allows.
    KString tooLong = key() + KString(L"\\") + KString(300, L'k');
    t = Catch([&] { reg.createKey(HKEY_CURRENT_USER, tooLong); });
    EXPECT_EQ(10, t.group);
    EXPECT_NE(0, t.number);
    EXPECT_EQ(L"Create Registry Key (" + Wide(tooLong) + L") Failed", t.text);
    EXPECT_FALSE(reg.isOpen());

    // A key opened for reading refuses every store.
    reg.createKey(HKEY_CURRENT_USER, key());
    reg.storeValue(L"V", 1);
    reg.openKey(HKEY_CURRENT_USER, key(), KEY_READ);
    struct Case {
        Thrown got;
        const wchar_t* text;
    } stores[] = {
        {Catch([&] { reg.storeValue(L"V", 7); }), L"RegSetValueEx(V,7) Failed"},
        {Catch([&] { reg.storeValue(L"V", -3); }), L"RegSetValueEx(V,-3) Failed"},
        {Catch([&] { reg.storeValue(L"V", "abc", 3); }), L"RegSetValueEx(V) Failed"},
        {Catch([&] { reg.storeValue(L"V", KString(L"abc")); }), L"RegSetValueEx(V,8) Failed"},
        {Catch([&] { reg.storeValue(L"V", List({L"ab", L"c"})); }), L"RegSetValueEx(V,12) Failed"},
    };
    for (const Case& c : stores) {
        EXPECT_EQ(10, c.got.group) << Wide(c.text);
        EXPECT_EQ(ERROR_ACCESS_DENIED, c.got.number) << Wide(c.text);
        EXPECT_EQ(std::wstring(c.text), c.got.text);
    }
    int v = 0;
    reg.loadValue(L"V", &v);
    EXPECT_EQ(1, v) << "the refused stores changed nothing";

    // Further rights may be asked for on opening.
    reg.openKey(HKEY_CURRENT_USER, key(), KEY_READ | KEY_SET_VALUE);
    reg.storeValue(L"V", 9);
    reg.loadValue(L"V", &v);
    EXPECT_EQ(9, v);

    // A created key is for writing only.
    reg.createKey(HKEY_CURRENT_USER, key());
    t = Catch([&] { reg.loadValue(L"V", &v); });
    EXPECT_EQ(ERROR_ACCESS_DENIED, t.number);
    EXPECT_EQ(L"RegQueryValueEx(V) Failed", t.text);

    // Without a key every call fails cleanly.
    reg.closeKey();
    EXPECT_FALSE(reg.isOpen());
    t = Catch([&] { reg.loadValue(L"V", &v); });
    EXPECT_EQ(10, t.group);
    EXPECT_NE(0, t.number);
    EXPECT_EQ(L"RegQueryValueEx(V) Failed", t.text);
    t = Catch([&] { reg.storeValue(L"V", 5); });
    EXPECT_NE(0, t.number);
    EXPECT_EQ(L"RegSetValueEx(V,5) Failed", t.text);
    t = Catch([&] { reg.storeValue(L"V", nullptr, -1); });
    EXPECT_EQ(L"RegSetValueEx(V) Failed", t.text);
    EXPECT_EQ(9, v);
}

TEST_F(RegistryTest, CopiesShareOneKeyThatTheLastOneCloses)
{
    {
        KRegistry w;
        w.createKey(HKEY_CURRENT_USER, key());
        w.storeValue(L"N", 31);
    }
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring base = exe;
    base = base.substr(base.find_last_of(L'\\') + 1);

    // A handle is valid while GetHandleInformation answers for it.
    auto isOpenHandle = [](HKEY h) {
        DWORD flags;
        return GetHandleInformation((HANDLE)h, &flags) != FALSE;
    };
    for (int round = 0; round < 50; ++round) {
        HKEY shared = nullptr;
        {
            KRegistry a;
            EXPECT_EQ(base, std::wstring(a.getExeName()));
            a.openKey(HKEY_CURRENT_USER, key(), KEY_READ);
            shared = a.getKey();
            KRegistry b(a);
            KRegistry c;
            c = b;
            ASSERT_EQ(shared, b.getKey());
            ASSERT_EQ(shared, c.getKey());
            EXPECT_EQ(base, std::wstring(c.getExeName()));
            a.closeKey();
            EXPECT_FALSE(a.isOpen());
            ASSERT_TRUE(isOpenHandle(shared)) << "two copies still share it";
            int n = 0;
            b.loadValue(L"N", &n);
            EXPECT_EQ(31, n);
            // Reopening one copy leaves the other on the shared key.
            b.openKey(HKEY_CURRENT_USER, key(), KEY_READ);
            ASSERT_NE(shared, b.getKey());
            c.loadValue(L"N", &n);
            EXPECT_EQ(31, n);
            c = c;
            KRegistry d(c);
            c.closeKey();
            d.loadValue(L"N", &n);
            EXPECT_EQ(31, n);
            ASSERT_TRUE(isOpenHandle(shared));
            d = b; // the last sharer lets go
            ASSERT_FALSE(isOpenHandle(shared)) << "closed once nobody holds it";
            ASSERT_TRUE(isOpenHandle(b.getKey()));
            shared = b.getKey();
        }
        ASSERT_FALSE(isOpenHandle(shared)) << "closed when its holders go";
    }
}

TEST_F(RegistryTest, StringListsEndAtTheirFirstEmptyString)
{
    struct Case {
        const char* what;
        std::wstring units;
        int extraByte;
        std::vector<std::wstring> want;
    } cases[] = {
        {"no bytes at all", std::wstring(), 0, {}},
        {"one terminator", std::wstring(L"\0", 1), 0, {}},
        {"two terminators", std::wstring(L"\0\0", 2), 0, {}},
        {"final 0 missing", std::wstring(L"a\0bc\0", 5), 0, {L"a", L"bc"}},
        {"both final 0s missing", std::wstring(L"a\0bc", 4), 0, {L"a", L"bc"}},
        {"an empty string inside", std::wstring(L"a\0\0b\0\0", 6), 0, {L"a"}},
        {"odd size: half a character", std::wstring(L"ab\0", 3), 1, {L"ab"}},
        {"odd size, unterminated", std::wstring(L"ab", 2), 1, {L"ab"}},
    };
    KRegistry r;
    for (const Case& c : cases) {
        std::vector<BYTE> bytes((const BYTE*)c.units.data(), (const BYTE*)c.units.data() + 2 * c.units.size());
        if (c.extraByte)
            bytes.push_back('z');
        PutRaw(sub, L"L", REG_MULTI_SZ, bytes.data(), (DWORD)bytes.size());
        r.openKey(HKEY_CURRENT_USER, key(), KEY_READ);
        KArray<KString> list = List({L"previous"});
        r.loadValue(L"L", list);
        EXPECT_EQ(c.want, Items(list)) << c.what;
    }

    // Text values with the same defects.
    PutRaw(sub, L"T", REG_SZ, L"abc", 6);
    r.openKey(HKEY_CURRENT_USER, key(), KEY_READ);
    KString s;
    r.loadValue(L"T", &s);
    EXPECT_EQ(L"abc", Wide(s)) << "stored without its terminator";
    PutRaw(sub, L"T", REG_SZ, L"abc", 5);
    r.openKey(HKEY_CURRENT_USER, key(), KEY_READ);
    r.loadValue(L"T", &s);
    EXPECT_EQ(L"ab", Wide(s)) << "half a character dropped";

    // A stored list with an empty string reads back up to it; long lists
    // round-trip whole.
    KArray<KString> many;
    for (int i = 0; i < 1000; ++i) {
        KString item;
        item.set("item %d", i);
        many.append(item);
    }
    KRegistry w;
    w.createKey(HKEY_CURRENT_USER, key());
    w.storeValue(L"Gap", List({L"x", L"", L"y"}));
    w.storeValue(L"Many", many);
    r.openKey(HKEY_CURRENT_USER, key(), KEY_READ);
    KArray<KString> back;
    r.loadValue(L"Gap", back);
    EXPECT_EQ(std::vector<std::wstring>{L"x"}, Items(back));
    r.loadValue(L"Many", back);
    EXPECT_EQ(Items(many), Items(back));
}

// The preference values of this process, removed afterwards with the
// preferences key and its parent when this test made them.
class PreferencesTest : public testing::Test {
protected:
    void SetUp() override
    {
        hadTarnwell = KeyExists(L"Software\\Tarnwell");
        hadPreferences = KeyExists(TARNWELL_PREFERENCES_SUBKEY);
        swprintf(prefix, 64, L"Korvel Test %lu ", GetCurrentProcessId());
    }
    void TearDown() override
    {
        HKEY h;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, TARNWELL_PREFERENCES_SUBKEY, 0, KEY_ALL_ACCESS, &h) ==
            ERROR_SUCCESS) {
            for (const std::wstring& n : made)
                RegDeleteValueW(h, n.c_str());
            RegCloseKey(h);
        }
        if (!hadPreferences)
            RegDeleteKeyW(HKEY_CURRENT_USER, TARNWELL_PREFERENCES_SUBKEY);
        if (!hadTarnwell)
            RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Tarnwell");
        EXPECT_EQ(hadPreferences, KeyExists(TARNWELL_PREFERENCES_SUBKEY));
    }
    std::wstring name(const wchar_t* what)
    {
        made.push_back(prefix + std::wstring(what));
        return made.back();
    }
    bool hadTarnwell = false, hadPreferences = false;
    wchar_t prefix[64];
    std::vector<std::wstring> made;
};

TEST_F(PreferencesTest, StoredTextsReadBackAndMissingOnesReadFalseSilently)
{
    const std::wstring never = name(L"Never Stored"), colour = name(L"Colour"), number = name(L"Number");
    const DWORD five = 5;
    PutRaw(TARNWELL_PREFERENCES_SUBKEY, number.c_str(), REG_DWORD, &five, 4);
    KString value(L"unchanged");
    auto boxes = BoxesShownBy([&] {
        EXPECT_FALSE(ReadRegPref(never.c_str(), &value));
        EXPECT_FALSE(ReadRegPref(number.c_str(), &value)) << "a value of another type";
        EXPECT_EQ(L"unchanged", Wide(value));

        ASSERT_TRUE(StoreRegPref(colour.c_str(), KString(L"Gr\x00FCn")));
        EXPECT_TRUE(ReadRegPref(colour.c_str(), &value));
        EXPECT_EQ(L"Gr\x00FCn", Wide(value));
        ASSERT_TRUE(StoreRegPref(colour.c_str(), KString()));
        EXPECT_TRUE(ReadRegPref(colour.c_str(), &value));
        EXPECT_EQ(0, value.length());
    });
    EXPECT_TRUE(boxes.empty()) << "no box on reading, nor on a store that works";
    DWORD type = 0;
    std::vector<BYTE> raw;
    ASSERT_TRUE(GetRaw(TARNWELL_PREFERENCES_SUBKEY, colour.c_str(), &type, &raw));
    EXPECT_EQ((DWORD)REG_SZ, type);
    EXPECT_EQ(2u, raw.size());

    // A name longer than any the registry takes cannot be stored.
    const std::wstring tooLong = name(std::wstring(16400, L'n').c_str());
    boxes = BoxesShownBy([&] { EXPECT_FALSE(StoreRegPref(tooLong.c_str(), KString(L"v"))); });
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(L"Tarnwell (01-1028)", boxes[0].first);
    EXPECT_EQ(L"Could not store " + tooLong + L"='v' to registry.\n\nRegSetValueEx(" + tooLong + L",4) Failed",
              boxes[0].second);
    EXPECT_FALSE(ReadRegPref(tooLong.c_str(), &value));
}

} // namespace
