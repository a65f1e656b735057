// KRegistry against the real HKEY_CURRENT_USER: typed values, refusals, shared copies; ReadRegPref and
// StoreRegPref. Each test removes what it made.
#include "file_tests.h"

static void PutRaw(const std::wstring& subkey, const wchar_t* name, DWORD type, const void* data, DWORD size)
{
    ASSERT_EQ(0, RegSetKeyValueW(HKEY_CURRENT_USER, subkey.c_str(), name, type, data, size));
}

// A raw value read past KRegistry: its 32-bit type, then its bytes; nothing when missing.
static Bytes Raw(const std::wstring& subkey, const wchar_t* name)
{
    Bytes data(70004);
    DWORD type = 0, size = 70000;
    HKEY h;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, subkey.c_str(), 0, KEY_READ, &h) != 0)
        return Bytes();
    const bool found = RegQueryValueExW(h, name, nullptr, &type, data.data() + 4, &size) == 0;
    RegCloseKey(h);
    Set32(data, 0, type);
    data.resize(found ? 4 + size : 0);
    return data;
}

// What Raw gives for a value of that type: the type, then the bytes of the units.
static Bytes Typed(DWORD type, const std::wstring& units)
{
    Bytes typed;
    Put32(typed, type);
    typed.insert(typed.end(), (const BYTE*)units.data(), (const BYTE*)(units.data() + units.size()));
    return typed;
}

static bool KeyExists(const std::wstring& subkey)
{
    HKEY h;
    const bool open = RegOpenKeyExW(HKEY_CURRENT_USER, subkey.c_str(), 0, KEY_READ, &h) == 0;
    if (open)
        RegCloseKey(h);
    return open;
}

// A string list written as its items, each followed by '|'.
static KArray<KString> List(const std::wstring& items)
{
    KArray<KString> list;
    for (size_t from = 0, to; (to = items.find(L'|', from)) != std::wstring::npos; from = to + 1)
        list.append(KString(items.substr(from, to - from).c_str()));
    return list;
}

static std::wstring Joined(const KArray<KString>& list)
{
    std::wstring out;
    for (const KString& s : list)
        out += Wide(s) + L"|";
    return out;
}

// A key of this process's own, removed with its parent (when empty) after each test.
class RegistryTest : public testing::Test {
protected:
    void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, sub.c_str()); }
    void TearDown() override
    {
        RegDeleteTreeW(HKEY_CURRENT_USER, sub.c_str());
        RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\KorvelTests");
        EXPECT_FALSE(KeyExists(sub));
    }
    const std::wstring sub = L"Software\\KorvelTests\\Registry " + std::to_wstring(GetCurrentProcessId());
    const KString key = sub.c_str();
    KRegistry r, w;
};

TEST_F(RegistryTest, TypedValuesDefectsRefusalsAndSharedCopies)
{
    const std::pair<const wchar_t*, int> ints[] = {{L"Int", 123456789}, {L"Min", INT_MIN}, {L"0", 0},
                                                   {L"2", 2}};
    const std::pair<const wchar_t*, std::wstring> texts[] = {{L"Text", L"Gr\x00FC\x00DF" L"e \x263A"},
        {L"Empty", L""}, {L"Long", std::wstring(4999, L'a') + L'z'}, {0, L"default"}};
    const std::pair<const wchar_t*, std::wstring> lists[] = {
        {L"List", L"alpha|\x03B2 beta|gamma with blanks|"}, {L"Empty List", L""}, {L"One", L"x|"}};
    w.createKey(HKEY_CURRENT_USER, key);
    ASSERT_TRUE(w.isOpen());
    r.openKey(HKEY_CURRENT_USER, key, KEY_READ);
    // Each value stored, its type and bytes read past the library, then read back.
    for (const auto& [name, value] : ints) {
        w.storeValue(name, value);
        EXPECT_EQ(Typed(REG_DWORD, {(wchar_t)value, (wchar_t)(value >> 16)}), Raw(sub, name));
        int i = 1;
        bool b = value == 0;
        r.loadValue(name, &i);
        r.loadValue(name, &b);
        EXPECT_TRUE(i == value && b == (value != 0)) << i;
    }
    for (const auto& [name, value] : texts) {
        w.storeValue(name, KString(value.c_str()));
        EXPECT_EQ(Typed(REG_SZ, value + L'\0'), Raw(sub, name)) << "the terminator is stored";
        KString s(L"old");
        r.loadValue(name, &s);
        EXPECT_EQ(value, Wide(s));
    }
    for (const auto& [name, items] : lists) {
        w.storeValue(name, List(items));
        std::wstring units = items + L'|';
        std::replace(units.begin(), units.end(), L'|', L'\0');
        EXPECT_EQ(Typed(REG_MULTI_SZ, units), Raw(sub, name)) << Narrow(name);
        KArray<KString> list = List(L"old 1|old 2|old 3|old 4|");
        r.loadValue(name, list);
        EXPECT_EQ(items, Joined(list));
    }
    // Binary values keep their 0 bytes and leave the bytes of the buffer past them; a store replaces a
    // value of another type; a text ends at a half character, a list at its first empty string; long
    // lists round-trip whole.
    const std::wstring blob(L"\x0700\x150E\x0000\x2A23", 4);
    Bytes back(64, 0xCC);
    w.storeValue(L"Blob", blob.data(), 8);
    EXPECT_EQ(Typed(REG_BINARY, blob), Raw(sub, L"Blob"));
    r.loadValue(L"Blob", back.data(), 8);
    EXPECT_TRUE(!memcmp(blob.data(), back.data(), 8) && back[8] == 0xCC);
    w.storeValue(L"Int", KString(L"now text"));
    EXPECT_EQ(Typed(REG_SZ, std::wstring(L"now text") + L'\0'), Raw(sub, L"Int"));
    KString t;
    PutRaw(sub, L"T", REG_SZ, L"abc", 5);
    r.loadValue(L"T", &t);
    EXPECT_EQ(L"ab", Wide(t));
    std::wstring many;
    for (int i = 0; i < 1000; ++i)
        many += L"item " + std::to_wstring(i) + L"|";
    w.storeValue(L"Gap", List(L"x||y|"));
    w.storeValue(L"Many", List(many));
    KArray<KString> read;
    r.loadValue(L"Gap", read);
    EXPECT_EQ(L"x|", Joined(read));
    r.loadValue(L"Many", read);
    EXPECT_TRUE(many == Joined(read));
    // Every refusal in turn, on values written past the library: its text and Windows error number
    // (-1: any but 0, -2: any), and the targets unchanged.
    const unsigned char bytes[64] = {1, 2, 3, 4, 5, 6, 7, 8};
    const std::tuple<const wchar_t*, DWORD, DWORD> raw[] = {{L"Text", REG_SZ, 4}, {L"Number", REG_DWORD, 4},
        {L"Expand", REG_EXPAND_SZ, 4}, {L"Multi", REG_MULTI_SZ, 4}, {L"Short Blob", REG_BINARY, 2},
        {L"Dword2", REG_DWORD, 2}, {L"Dword8", REG_DWORD, 8}, {L"Big Blob", REG_BINARY, 64}};
    for (const auto& [name, type, size] : raw)
        PutRaw(sub, name, type, bytes, size);
    const KString missing = key + KString(L"\\No Such Key"), tooLong = key + L"\\" + KString(300, L'k');
    const std::string reason = Narrow(GetWin32Error(ERROR_FILE_NOT_FOUND));
    const int denied = ERROR_ACCESS_DENIED, none = ERROR_FILE_NOT_FOUND;
    int i = 4242;
    bool b = true;
    KString s(L"keep");
    Bytes buf(16, 0xAB);
    KArray<KString> list = List(L"keep|");
    r.openKey(HKEY_CURRENT_USER, key, KEY_READ);
    w.createKey(HKEY_CURRENT_USER, key);
    const std::tuple<std::function<void()>, std::string, int> cases[] = {
        {[&] { r.loadValue(L"Text", &i); }, "Incorrect type for Text", 0},
        {[&] { r.loadValue(L"Short Blob", &i); }, "Incorrect type for Short Blob", 0}, // the type first
        {[&] { r.loadValue(L"Dword2", &i); }, "Incorrect size of 2 for Dword2", 0},
        {[&] { r.loadValue(L"Dword8", &i); }, "Incorrect size of 8 for Dword8", 0},
        {[&] { r.loadValue(L"Dword2", &b); }, "Incorrect size of 2 for Dword2", 0},
        {[&] { r.loadValue(L"Number", &s); }, "Incorrect type for Number", 0},
        {[&] { r.loadValue(L"Expand", &s); }, "Incorrect type for Expand", 0},
        {[&] { r.loadValue(L"Multi", &s); }, "Incorrect type for Multi", 0},
        {[&] { r.loadValue(L"Big Blob", buf.data(), 16); }, "Buffer too small for Big Blob", 0},
        {[&] { r.loadValue(L"Short Blob", buf.data(), -1); }, "Buffer too small for Short Blob", 0},
        {[&] { r.loadValue(L"Text", list); }, "Incorrect type for Text", 0},
        {[&] { r.loadValue(L"?", &i); }, "RegQueryValueEx(?) Failed", none},
        {[&] { r.loadValue(L"?", list); }, "RegQueryValueEx(?) Failed", none},
        // A key opened for reading refuses every store; a created key every load.
        {[&] { r.storeValue(L"Number", 7); }, "RegSetValueEx(Number,7) Failed", denied},
        {[&] { r.storeValue(L"Number", "abc", 3); }, "RegSetValueEx(Number) Failed", denied},
        {[&] { r.storeValue(L"Number", KString(L"abc")); }, "RegSetValueEx(Number,8) Failed", denied},
        {[&] { r.storeValue(L"Number", List(L"ab|c|")); }, "RegSetValueEx(Number,12) Failed", denied},
        {[&] { w.loadValue(L"Number", &i); }, "RegQueryValueEx(Number) Failed", denied},
        // A failed opening closes the key held before; then every call fails.
        {[&] { r.openKey(HKEY_CURRENT_USER, missing, KEY_READ); },
         "Open Registry Key(" + Narrow(missing) + ") Failed\n" + reason, none},
        {[&] { r.loadValue(L"Number", &i); }, "RegQueryValueEx(Number) Failed", -1},
        {[&] { r.storeValue(L"Number", 5); }, "RegSetValueEx(Number,5) Failed", -1},
        {[&] { r.storeValue(L"Number", nullptr, -1); }, "RegSetValueEx(Number) Failed", -2},
        {[&] { r.createKey(HKEY_CURRENT_USER, tooLong); },
         "Create Registry Key (" + Narrow(tooLong) + ") Failed", -1},
    };
    for (const auto& [call, text, number] : cases) {
        const Caught got = Catch(call);
        EXPECT_TRUE(got.text == text && got.group == 10) << got.text << " (" << got.group << ")";
        EXPECT_TRUE(number >= 0 ? got.number == number : number == -2 || got.number != 0) << got.number;
    }
    EXPECT_FALSE(r.isOpen());
    EXPECT_TRUE(i == 4242 && b && Wide(s) == L"keep" && Joined(list) == L"keep|" && buf == Bytes(16, 0xAB));
    // The right calls still work: further rights may be asked for on opening.
    r.openKey(HKEY_CURRENT_USER, key, KEY_READ | KEY_SET_VALUE);
    r.loadValue(L"Number", &i);
    r.loadValue(L"Short Blob", buf.data(), 16);
    EXPECT_TRUE(i == 0x04030201 && Bytes(buf.begin(), buf.begin() + 3) == (Bytes{1, 2, 0xAB})) << i;
    r.storeValue(L"Number", 9);
    r.loadValue(L"Number", &i);
    EXPECT_EQ(9, i);
    // Copies share one key that the last one closes; a handle is open while GetHandleInformation answers.
    DWORD flags;
    HKEY shared = nullptr;
    {
        KRegistry a, c;
        a.openKey(HKEY_CURRENT_USER, key, KEY_READ);
        shared = a.getKey();
        KRegistry b(a);
        c = b;
        c = c;
        EXPECT_TRUE(shared == c.getKey() && GetFilePart(GetModulePath()) == c.getExeName());
        a.closeKey();
        b.openKey(HKEY_CURRENT_USER, key, KEY_READ); // reopening one copy leaves the other on the key
        i = 0;
        c.loadValue(L"Number", &i);
        ASSERT_TRUE(i == 9 && !a.isOpen() && shared != b.getKey() && GetHandleInformation(shared, &flags));
        c = b; // the last sharer lets go
        ASSERT_FALSE(GetHandleInformation(shared, &flags)) << "closed once nobody holds it";
        shared = b.getKey();
    }
    ASSERT_FALSE(GetHandleInformation(shared, &flags)) << "closed when its holders go";
}

// Preferences of this process, removed afterwards with their keys when this test made them.
TEST(Preferences, StoredTextsReadBackMissingOnesReadFalseAndAFailedStoreIsShown)
{
    const std::wstring prefs = TARNWELL_PREFERENCES_SUBKEY;
    const bool hadTarnwell = KeyExists(L"Software\\Tarnwell"), hadPreferences = KeyExists(prefs);
    const std::wstring colour = L"Korvel Test " + std::to_wstring(GetCurrentProcessId());
    const std::wstring tooLong = colour + std::wstring(16400, L'n');
    KString value(L"unchanged");
    BoxWatcher boxes;
    EXPECT_FALSE(ReadRegPref(tooLong.c_str(), &value));
    EXPECT_TRUE(StoreRegPref(colour.c_str(), KString(L"Gr\x00FCn")) && ReadRegPref(colour.c_str(), &value));
    EXPECT_TRUE(Wide(value) == L"Gr\x00FCn" && boxes.count() == 0);
    // The box shows the start of the text, the log all of it.
    EXPECT_FALSE(StoreRegPref(tooLong.c_str(), KString(L"v")));
    EXPECT_TRUE(boxes.count() == 1 && boxes.box().title == L"Tarnwell (01-1028)");
    const std::string text = "Could not store " + Narrow(tooLong) + "='v' to registry.";
    EXPECT_TRUE(Narrow(boxes.box().text) == (text + "\n\nRegSetValueEx(").substr(0, 2047));
    EXPECT_EQ(1u, CountInLog(text + ": RegSetValueEx(" + Narrow(tooLong) + ",4) Failed"));
    RegDeleteKeyValueW(HKEY_CURRENT_USER, prefs.c_str(), colour.c_str());
    if (!hadPreferences)
        RegDeleteKeyW(HKEY_CURRENT_USER, prefs.c_str());
    if (!hadTarnwell)
        RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Tarnwell");
    EXPECT_EQ(hadPreferences, KeyExists(prefs));
}
