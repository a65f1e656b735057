// KRegistry against the real HKEY_CURRENT_USER: typed values, refusals, shared copies; ReadRegPref and
// StoreRegPref. Each test removes what it made.
#include "file_tests.h"

static void PutRaw(const std::wstring& subkey, const wchar_t* name, DWORD type, const void* data, DWORD size)
{
    HKEY h;
    ASSERT_EQ(0, RegCreateKeyExW(HKEY_CURRENT_USER, subkey.c_str(), 0, 0, 0, KEY_WRITE, 0, &h, 0));
    ASSERT_EQ(0, RegSetValueExW(h, name, 0, type, (const BYTE*)data, size));
    RegCloseKey(h);
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
    // Binary values keep their 0 bytes and leave the bytes of the buffer past them.
    const std::wstring blob(L"\x0700\x150E\x0000\x2A23", 4);
    Bytes back(64, 0xCC);
    w.storeValue(L"Blob", blob.data(), 8);
    w.storeValue(L"Empty Blob", blob.data(), 0);
    EXPECT_EQ(Typed(REG_BINARY, blob), Raw(sub, L"Blob"));
    EXPECT_EQ(Typed(REG_BINARY, L""), Raw(sub, L"Empty Blob"));
    r.loadValue(L"Blob", back.data(), 64);
    r.loadValue(L"Empty Blob", back.data(), 0);
    EXPECT_TRUE(!memcmp(blob.data(), back.data(), 8) && back[8] == 0xCC);
    r.loadValue(L"Blob", back.data(), 8); // exactly the size fits
    // A store replaces a value of another type.
    w.storeValue(L"Int", KString(L"now text"));
    EXPECT_EQ(Typed(REG_SZ, std::wstring(L"now text") + L'\0'), Raw(sub, L"Int"));
    // Lists end at their first empty string, texts at a half character ('z': one byte 'z').
    const std::pair<std::wstring, std::wstring> lossy[] = {
        {std::wstring(), L""}, {std::wstring(L"\0", 1), L""}, {std::wstring(L"\0\0", 2), L""},
        {std::wstring(L"a\0bc\0", 5), L"a|bc|"}, {std::wstring(L"a\0bc", 4), L"a|bc|"},
        {std::wstring(L"a\0\0b\0\0", 6), L"a|"}, {std::wstring(L"ab\0z", 4), L"ab|"}, {L"abz", L"ab|"}};
    for (const auto& [units, items] : lossy) {
        const bool odd = units.find(L'z') != std::wstring::npos;
        PutRaw(sub, L"L", REG_MULTI_SZ, units.data(), (DWORD)(units.size() * 2) - odd);
        KArray<KString> list = List(L"previous|");
        r.loadValue(L"L", list);
        EXPECT_EQ(items, Joined(list)) << Narrow(units);
    }
    KString t;
    for (DWORD size : {6, 5}) {
        PutRaw(sub, L"T", REG_SZ, L"abc", size);
        r.loadValue(L"T", &t);
        EXPECT_EQ(size == 6 ? L"abc" : L"ab", Wide(t)) << "without its terminator, " << size << " bytes";
    }
    // A stored list with an empty string reads back up to it; long lists round-trip whole.
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
        {[&] { r.loadValue(L"Big Blob", &i); }, "Incorrect type for Big Blob", 0},
        {[&] { r.loadValue(L"Dword2", &i); }, "Incorrect size of 2 for Dword2", 0},
        {[&] { r.loadValue(L"Dword8", &i); }, "Incorrect size of 8 for Dword8", 0},
        {[&] { r.loadValue(L"Text", &b); }, "Incorrect type for Text", 0},
        {[&] { r.loadValue(L"Dword2", &b); }, "Incorrect size of 2 for Dword2", 0},
        {[&] { r.loadValue(L"Number", &s); }, "Incorrect type for Number", 0},
        {[&] { r.loadValue(L"Expand", &s); }, "Incorrect type for Expand", 0},
        {[&] { r.loadValue(L"Multi", &s); }, "Incorrect type for Multi", 0},
        {[&] { r.loadValue(L"Text", buf.data(), 16); }, "Incorrect type for Text", 0},
        {[&] { r.loadValue(L"Big Blob", buf.data(), 16); }, "Buffer too small for Big Blob", 0},
        {[&] { r.loadValue(L"Short Blob", buf.data(), -1); }, "Buffer too small for Short Blob", 0},
        {[&] { r.loadValue(L"Text", list); }, "Incorrect type for Text", 0},
        {[&] { r.loadValue(L"Number", list); }, "Incorrect type for Number", 0},
        {[&] { r.loadValue(L"?", &i); }, "RegQueryValueEx(?) Failed", none},
        {[&] { r.loadValue(L"?", &s); }, "RegQueryValueEx(?) Failed", none},
        {[&] { r.loadValue(L"?", buf.data(), 16); }, "RegQueryValueEx(?) Failed", none},
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
    w.createKey(HKEY_CURRENT_USER, key);
    w.storeValue(L"N", 31);
    w.closeKey();
    const KString exe = GetFilePart(GetModulePath());
    DWORD flags;
    int n = 0, m = 0;
    HKEY shared = nullptr;
    {
        KRegistry a, c;
        a.openKey(HKEY_CURRENT_USER, key, KEY_READ);
        shared = a.getKey();
        KRegistry b(a);
        c = b;
        ASSERT_TRUE(shared == b.getKey() && shared == c.getKey());
        EXPECT_TRUE(exe == a.getExeName() && exe == c.getExeName());
        a.closeKey();
        ASSERT_TRUE(!a.isOpen() && GetHandleInformation(shared, &flags)) << "two copies still share it";
        b.loadValue(L"N", &n);
        // Reopening one copy leaves the other on the shared key.
        b.openKey(HKEY_CURRENT_USER, key, KEY_READ);
        ASSERT_NE(shared, b.getKey());
        c = c;
        KRegistry d(c);
        c.closeKey();
        d.loadValue(L"N", &m);
        EXPECT_TRUE(n == 31 && m == 31);
        ASSERT_TRUE(GetHandleInformation(shared, &flags));
        d = b; // the last sharer lets go
        ASSERT_FALSE(GetHandleInformation(shared, &flags)) << "closed once nobody holds it";
        shared = b.getKey();
        ASSERT_TRUE(GetHandleInformation(shared, &flags));
    }
    ASSERT_FALSE(GetHandleInformation(shared, &flags)) << "closed when its holders go";
}

// Preferences of this process, removed afterwards with their keys when this test made them.
TEST(Preferences, StoredTextsReadBackAndMissingOnesReadFalseSilently)
{
    const std::wstring prefs = TARNWELL_PREFERENCES_SUBKEY;
    const bool hadTarnwell = KeyExists(L"Software\\Tarnwell"), hadPreferences = KeyExists(prefs);
    const std::wstring prefix = L"Korvel Test " + std::to_wstring(GetCurrentProcessId()) + L" ";
    const std::wstring never = prefix + L"Never", colour = prefix + L"Colour", number = prefix + L"Number";
    const std::wstring tooLong = prefix + std::wstring(16400, L'n');
    PutRaw(prefs, number.c_str(), REG_DWORD, "\5\0\0\0", 4);
    KString value(L"unchanged");
    BoxWatcher boxes;
    EXPECT_FALSE(ReadRegPref(never.c_str(), &value) || ReadRegPref(number.c_str(), &value));
    EXPECT_EQ(L"unchanged", Wide(value));
    for (const wchar_t* text : {L"Gr\x00FCn", L""}) {
        EXPECT_TRUE(StoreRegPref(colour.c_str(), KString(text)) && ReadRegPref(colour.c_str(), &value));
        EXPECT_EQ(text, Wide(value));
    }
    EXPECT_EQ(0u, boxes.count()) << "no box on reading, nor on a store that works";
    EXPECT_EQ(Typed(REG_SZ, std::wstring(1, L'\0')), Raw(prefs, colour.c_str()));
    // A name longer than any the registry takes cannot be stored; the box shows the start of the text,
    // the log all of it.
    EXPECT_FALSE(StoreRegPref(tooLong.c_str(), KString(L"v")) || ReadRegPref(tooLong.c_str(), &value));
    EXPECT_TRUE(boxes.count() == 1 && boxes.box().title == L"Tarnwell (01-1028)");
    const std::string text = "Could not store " + Narrow(tooLong) + "='v' to registry.";
    EXPECT_TRUE(Narrow(boxes.box().text) == (text + "\n\nRegSetValueEx(").substr(0, 2047));
    EXPECT_EQ(1u, CountInLog(text + ": RegSetValueEx(" + Narrow(tooLong) + ",4) Failed"));
    for (const std::wstring& n : {never, colour, number})
        RegDeleteKeyValueW(HKEY_CURRENT_USER, prefs.c_str(), n.c_str());
    if (!hadPreferences)
        RegDeleteKeyW(HKEY_CURRENT_USER, prefs.c_str());
    if (!hadTarnwell)
        RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Tarnwell");
    EXPECT_EQ(hadPreferences, KeyExists(prefs));
}
