// Option files: custom colours, hooks and versions, scrambled bodies, missing files, stores
// that fail part way without losing the old file (damaged files: bad_input_test.cpp).
#include "file_tests.h"

// The text of the one box a failed store showed.
static std::string FailedStore(OptionFile& o, const std::wstring& path, bool remember)
{
    BoxWatcher boxes;
    EXPECT_FALSE(o.store(path.c_str(), remember));
    EXPECT_TRUE(boxes.count() == 1 && boxes.box().title == L"Tarnwell (01-1014)") << boxes.count();
    return Narrow(boxes.box().text);
}

TEST(OptionFile, CustomColoursRoundTripAsA290ByteFileAndMissingOnesLoadNothing)
{
    const COLORREF defaults[16] = {0x000000, 0xFFFFFF, BUTTON_FACE_COLOR, 0x0000FF, 0x00FF00, 0xFF0000,
                                   0x00FFFF, 0xFFFF00, 0xFF00FF, 0x808080, 0xFF8000, 0x0000C8,
                                   0x00C800, 0xC80000, 0xD0FFFD, 0x000000};
    CustomColorOptions fresh, mine, back, colours;
    BoxWatcher boxes; // a load or store that fails must not wait for a click
    EXPECT_TRUE(GetSysColor(COLOR_BTNFACE) == BUTTON_FACE_COLOR && !memcmp(defaults, fresh.getColors(), 64) &&
                !memcmp(defaults, &CustColorOpt[0], 64));
    EXPECT_TRUE(Wide(fresh.getName()) == ColourKind && fresh.getVersion() == 1 && fresh.getPath().isNull() &&
                !fresh.isLoaded());
    ScratchDir scratch;
    const std::wstring path = scratch.file(L"colours\\nested\\custom.opt");
    Bytes want = HeaderBytes(ColourKind, 1);
    for (int i = 0; i < 16; ++i) {
        mine[i] = 0x00010203u * (i + 1) + 0x00F00000u;
        Put32(want, mine[i]);
    }
    ASSERT_TRUE(mine.store(path.c_str(), true));
    EXPECT_TRUE(path == Wide(mine.getPath()) && want.size() == 290 && want == ReadBytes(path));
    EXPECT_EQ(std::vector<std::wstring>{L"custom.opt"}, Listing(scratch.file(L"colours\\nested\\*")))
        << "no temporary file is left beside the option file";
    EXPECT_TRUE(back.load(path.c_str(), false) && back.isLoaded() && back.getPath().isNull());
    EXPECT_EQ(0, memcmp(mine.getColors(), back.getColors(), 64));
    // A missing file loads nothing without a box and is remembered for a later store, unless it must
    // exist.
    const std::wstring missing = scratch.file(L"none\\missing.opt");
    EXPECT_FALSE(colours.load(missing.c_str(), true) || colours.load() || colours.load(KString(), true) ||
                 colours.store(KString(), true));
    EXPECT_TRUE(boxes.count() == 0 && missing == Wide(colours.getPath()) && !colours.isLoaded());
    colours.setMustExist(true);
    EXPECT_FALSE(colours.load());
    ASSERT_EQ(1u, boxes.count());
    EXPECT_TRUE(boxes.box(0).title == L"Tarnwell (01-1013)");
    EXPECT_EQ("Could not load option file \"" + Narrow(missing) + "\".\n\nError[2] opening \"" +
                  Narrow(KFile(missing.c_str()).getPath()) + "\".\nNo such file or directory.",
              Narrow(boxes.box(0).text));
    // A damaged file shows in a box and the log what _load throws, and the settings stay.
    Bytes cut = ReadBytes(path);
    cut.resize(250);
    WriteBytes(path, cut);
    const std::string error = Catch([&] { back._load(path.c_str()); }).text;
    const std::string shown = "Could not load option file \"" + Narrow(path) + "\".";
    EXPECT_TRUE(!back.load(path.c_str(), false) && !memcmp(mine.getColors(), back.getColors(), 64));
    ASSERT_EQ(2u, boxes.count());
    EXPECT_EQ(shown + "\n\n" + error, Narrow(boxes.box(1).text));
    EXPECT_EQ(1u, CountInLog(shown + ": " + error.substr(0, error.find('\n'))));
}

TEST(OptionFile, HooksRunInOrderIOGetsTheFilesVersionAndOnlyTheBodyIsScrambled)
{
    ScratchDir scratch;
    const std::wstring path = scratch.file(L"test.opt"), secretPath = scratch.file(L"secret.opt");
    TestOptions out(3, -12, 0.125, L"caf\x00E9 \x263A", 0x7F00FF01), in(5);
    BoxWatcher boxes;
    out.here = in.here = scratch.path();
    ASSERT_TRUE(out.store(path.c_str(), true));
    EXPECT_EQ("storeHandler, encryptHandler, IO write v3, ", out.calls);
    Bytes want = HeaderBytes(TestKind, 3);
    Put32(want, (unsigned)-12);
    want.resize(want.size() + 8);
    memcpy(&want[want.size() - 8], &out.scale, 8);
    PutString(want, {'c', 'a', 'f', 0xE9, ' ', 0x263A});
    Put32(want, 0x7F00FF01);
    EXPECT_EQ(want, ReadBytes(path));
    // A reader of a later version is given the version the file was written with.
    EXPECT_TRUE(in.load(path.c_str(), true));
    EXPECT_EQ("encryptHandler, IO read v3, loadHandler, ", in.calls);
    EXPECT_TRUE(in.same(out) && in.isLoaded() && in.getVersion() == 5);
    // With scrambling switched on by encryptHandler, the body is XORed with the key from its position 0.
    TestOptions secret(out), back, unkeyed;
    secret.scramble = back.scramble = true;
    ASSERT_TRUE(secret.store(secretPath.c_str(), false));
    for (size_t k = 226; k < want.size(); ++k)
        want[k] ^= def_enc_bytes[k - 226];
    EXPECT_EQ(want, ReadBytes(secretPath));
    EXPECT_TRUE(back.load(secretPath.c_str(), false) && back.same(out));
    EXPECT_TRUE(Catch([&] { unkeyed._load(secretPath.c_str()); }) || !unkeyed.same(out)) << "without the key";
}

// Each way a store can fail leaves the old file as it was, and no temporary file.
TEST(OptionFile, AStoreThatFailsNeverLosesTheOldFile)
{
    ScratchDir scratch;
    const std::wstring path = scratch.file(L"keep.opt");
    const std::string full = Narrow(KFile(path.c_str()).getPath());
    const std::string failed = "Could not store option file.\n\n";
    TestOptions old(3, 1, 1.5, L"old content", 11), next(3, 2, 2.5, L"new content that is longer", 22);
    TestOptions refusing, check;
    ASSERT_FALSE(Catch([&] { old._store(path.c_str()); }));
    const Bytes oldBytes = ReadBytes(path);
    auto expectOldFile = [&](const char* how) {
        TestOptions check;
        EXPECT_FALSE(Catch([&] { check._load(path.c_str()); })) << how;
        EXPECT_TRUE(oldBytes == ReadBytes(path) && check.same(old)) << how;
        EXPECT_EQ(std::vector<std::wstring>{L"keep.opt"}, Listing(scratch.path() + L"*")) << how;
    };
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(failed + "The file \"" + full + "\" is read-only.", FailedStore(next, path, false));
    expectOldFile("read-only");
    EXPECT_TRUE(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_READONLY);
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held) << "held open by a program that shares nothing";
    EXPECT_EQ(failed + "Error[13] opening \"" + full + "\".\nPermission denied.", FailedStore(next, path, 0));
    CloseHandle(held);
    expectOldFile("held open");
    next.failWriting = true;
    EXPECT_EQ(failed + "Disk pulled out.", FailedStore(next, path, true));
    EXPECT_EQ(path, Wide(next.getPath())) << "remembered before writing";
    expectOldFile("IO failed part way");
    next.failWriting = false;
    refusing.failBeforeStore = true;
    EXPECT_EQ(failed + "Nothing to store.", FailedStore(refusing, path, true));
    EXPECT_TRUE(refusing.getPath().isNull()) << "not remembered when storeHandler fails";
    expectOldFile("storeHandler failed");
    // A path that cannot be written: a file taken for a directory.
    EXPECT_EQ(0u, FailedStore(next, path + L"\\inside.opt", false).find(failed));
    expectOldFile("path through the file");
    // Then a store that can succeed replaces the file whole and keeps its hidden mark.
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
    BoxWatcher boxes;
    EXPECT_TRUE(next.store() && boxes.count() == 0);
    EXPECT_TRUE(check.load(path.c_str(), false) && check.same(next));
    EXPECT_TRUE(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(std::vector<std::wstring>{L"keep.opt"}, Listing(scratch.path() + L"*"));
}
