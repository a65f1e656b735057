// Device-independent copies of memory bitmaps at 8 and 24 or 32 bits: BMP files checked field by
// field and read back with LoadImageW, the image drawn back; a file that cannot be written.
#include <gtest/gtest.h>
#include "test_support.h"

namespace {

const int W = 37, H = 11; // rows of 37 pixels need padding at every depth

// The display at a depth while it lives (memory contexts take the screen's); Wine emulates
// the depths it offers (8, 16, 32).
struct DisplayDepth {
    bool changed = false;
    explicit DisplayDepth(int bits)
    {
        DEVMODEW now = {sizeof(DEVMODEW)}, m = now;
        EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &now);
        for (int i = 0; !changed && EnumDisplaySettingsW(nullptr, i, &m); ++i)
            if ((int)m.dmBitsPerPel == bits && m.dmPelsWidth == now.dmPelsWidth && m.dmPelsHeight == now.dmPelsHeight)
                changed = ChangeDisplaySettingsW(&m, CDS_FULLSCREEN) == DISP_CHANGE_SUCCESSFUL;
    }
    ~DisplayDepth() { changed && ChangeDisplaySettingsW(nullptr, 0); }
};

// Colours that every depth holds exactly.
const COLORREF Colours[] = {0, RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(255, 255, 255), RGB(255, 255, 0)};

unsigned Get16(const Bytes& b, size_t at) { return b[at] | b[at + 1] << 8; }

} // namespace

TEST(DIB, StoredAsBmpReadBackAndDrawn)
{
    struct Case { int bits, infoSize, pixelsAt; };
    const Case cases[] = {{8, 1064, 1080}, {24, 44, 60}, {32, 44, 60}};
    ScratchDir dir;
    for (const Case& c : cases) {
        DisplayDepth depth(c.bits);
        KMemDC mem(W, H);
        if (mem.getBITSPIXEL() != c.bits) {
            EXPECT_NE(8, c.bits) << "an 8-bit display is needed for the colour-table layout";
            printf("no %d-bit display here: case skipped\n", c.bits);
            continue;
        }
        for (int i = 0; i < 6; ++i)
            mem.fillRect(DCRect(i * 6, i % 2 * 3, 6, H - 3), Colours[i]);
        mem.setPixel(W - 1, 0, RGB(255, 0, 255));
        KDIB dib(mem);
        EXPECT_EQ((std::vector<int>{1, W, H, c.infoSize}),
                  (std::vector<int>{dib.isValid(), dib.getWidth(), dib.getHeight(), dib.getInfoSize()}));
        const std::wstring path = dir.file(std::to_wstring(c.bits) + L".bmp");
        dib.writeToFile(KString(path.c_str()));
        const Bytes f = ReadBytes(path);
        ASSERT_GT(f.size(), (size_t)c.pixelsAt);
        const unsigned stride = (W * c.bits + 31) / 32 * 4; // rows padded to 4 bytes
        EXPECT_EQ((std::vector<unsigned>{0x4D42, (unsigned)f.size(), 0, (unsigned)c.pixelsAt, 40, W, H, 1,
                                         (unsigned)c.bits, BI_RGB, stride * H, c.pixelsAt + stride * H}),
                  (std::vector<unsigned>{Get16(f, 0), Get32(f, 2), Get32(f, 6), Get32(f, 10), Get32(f, 14),
                                         Get32(f, 18), Get32(f, 22), Get16(f, 26), Get16(f, 28), Get32(f, 30),
                                         Get32(f, 34), (unsigned)f.size()})) << c.bits << "-bit file";
        KBitmap loaded((HBITMAP)LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE), true);
        KMemDC file(nullptr, 0, 0), read(W, H), drawn(W, H);
        file.setBitmap(&loaded);
        ASSERT_TRUE(loaded.getHandle());
        read.bitBlt(DCRect(0, 0, W, H), file, KPOINT{0, 0});
        EXPECT_TRUE(Pixels(mem) == Pixels(read)) << c.bits << "-bit pixels read back";
        EXPECT_EQ((std::vector<int>{H, HALFTONE}),
                  (std::vector<int>{dib.stretchDIBits(drawn, 0, 0, W, H), drawn.getStretchBltMode()}));
        EXPECT_TRUE(Pixels(mem) == Pixels(drawn)) << c.bits << "-bit image drawn at its own size";
    }
    // Nothing to draw without an image; a directory that cannot be made (its parent is a file)
    // shows the box, and nothing is thrown.
    KMemDC mem(W, H);
    KDIB dib(mem);
    EXPECT_EQ(0, KDIB().stretchDIBits(mem, 0, 0, 8, 8));
    WriteBytes(dir.file(L"plain"), Bytes(4, 'x'));
    BoxWatcher boxes;
    EXPECT_FALSE(Catch([&] { dib.writeToFile(KString(dir.file(L"plain\\sub\\a.bmp").c_str())); }));
    ASSERT_EQ(1u, boxes.count());
    EXPECT_NE(std::wstring::npos, boxes.box().title.find(L"(01-1000)")) << Narrow(boxes.box().title);
    EXPECT_EQ(0u, boxes.box().text.find(L"Could not store DIB to file.")) << Narrow(boxes.box().text);
}
