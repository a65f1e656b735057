// Device-independent copies of memory bitmaps: drawn back, stored as BMP files whose fields are
// read by hand and whose pixels come back through LoadImageW; a file that cannot be written.
#include <gtest/gtest.h>
#include "test_support.h"

namespace {

// The display switched to a colour depth for the object's lifetime (memory contexts take the
// screen's format); Wine emulates the depths that the X server lacks.
class DisplayDepth {
public:
    explicit DisplayDepth(int bits)
    {
        DEVMODEW now = {}, mode = {};
        now.dmSize = mode.dmSize = sizeof(DEVMODEW);
        EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &now);
        for (int i = 0; EnumDisplaySettingsW(nullptr, i, &mode); ++i)
            if ((int)mode.dmBitsPerPel == bits && mode.dmPelsWidth == now.dmPelsWidth &&
                mode.dmPelsHeight == now.dmPelsHeight) {
                changed = ChangeDisplaySettingsW(&mode, CDS_FULLSCREEN) == DISP_CHANGE_SUCCESSFUL;
                break;
            }
    }
    ~DisplayDepth()
    {
        if (changed)
            ChangeDisplaySettingsW(nullptr, 0);
    }
    bool changed = false;
};

const int W = 37, H = 11; // rows of 37 pixels need padding at every depth

// Blocks of colours that every depth holds exactly.
void Blocks(KMemDC& dc)
{
    const COLORREF colours[] = {RGB(0, 0, 0), RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255),
                                RGB(255, 255, 255), RGB(255, 255, 0)};
    for (int i = 0; i < 6; ++i)
        dc.fillRect(DCRect(i * 6, i % 2 * 3, 6, H - 3), colours[i]);
    dc.setPixel(W - 1, 0, RGB(255, 0, 255));
}

std::vector<DWORD> Loaded(const std::wstring& path)
{
    HBITMAP b = (HBITMAP)LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    if (!b)
        return {};
    std::vector<DWORD> p;
    {
        KMemDC dc(nullptr, 0, 0);
        dc.setBitmap(b);
        BITMAP bm;
        GetObjectW(b, sizeof(bm), &bm);
        KMemDC copy(W, H);
        BitBlt(copy, 0, 0, W, H, dc, 0, 0, SRCCOPY);
        if (bm.bmWidth == W && bm.bmHeight == H)
            p = Pixels(copy);
    }
    DeleteObject(b);
    return p;
}

unsigned Get16(const Bytes& b, size_t at) { return b[at] | b[at + 1] << 8; }

} // namespace

TEST(DIB, StoredAsBmpAtEightAndTwentyFourBitsAndReadBack)
{
    struct Case { int bits, infoSize, pixelsAt; };
    const Case cases[] = {{8, 1064, 1080}, {24, 44, 60}, {32, 44, 60}};
    ScratchDir dir;
    for (const Case& c : cases) {
        DisplayDepth depth(c.bits);
        KMemDC mem(W, H);
        if (mem.getBITSPIXEL() != c.bits) {
            EXPECT_NE(c.bits, 8) << "an 8-bit display is needed for the colour-table layout";
            printf("no %d-bit display here: case skipped\n", c.bits); // Wine offers 8, 16 and 32
            continue;
        }
        Blocks(mem);
        const std::vector<DWORD> drawn = Pixels(mem);
        KDIB dib(mem);
        ASSERT_TRUE(dib.isValid()) << c.bits;
        EXPECT_EQ((std::vector<int>{W, H, c.infoSize}), (std::vector<int>{dib.getWidth(), dib.getHeight(),
                                                                           dib.getInfoSize()}));
        const std::wstring path = dir.file(L"blocks" + std::to_wstring(c.bits) + L".bmp");
        dib.writeToFile(KString(path.c_str()));
        const Bytes f = ReadBytes(path);
        ASSERT_GT(f.size(), (size_t)c.pixelsAt) << c.bits;
        const unsigned stride = (W * c.bits + 31) / 32 * 4;
        EXPECT_EQ((std::vector<unsigned>{0x4D42, (unsigned)f.size(), 0, (unsigned)c.pixelsAt, 40, W, H, 1,
                                         (unsigned)c.bits, BI_RGB, stride * H}),
                  (std::vector<unsigned>{Get16(f, 0), Get32(f, 2), Get32(f, 6), Get32(f, 10), Get32(f, 14),
                                         Get32(f, 18), Get32(f, 22), Get16(f, 26), Get16(f, 28), Get32(f, 30),
                                         Get32(f, 34)})) << c.bits << "-bit file";
        EXPECT_EQ(f.size(), (size_t)c.pixelsAt + stride * H);
        EXPECT_EQ(drawn, Loaded(path)) << c.bits << "-bit pixels read back";
        KMemDC drawnBack(W, H);
        EXPECT_EQ(H, dib.stretchDIBits(drawnBack, 0, 0, W, H));
        EXPECT_EQ(HALFTONE, drawnBack.getStretchBltMode());
        EXPECT_EQ(drawn, Pixels(drawnBack)) << c.bits << "-bit image drawn at its own size";
    }
}

TEST(DIB, EmptyImagesAndFilesThatCannotBeWritten)
{
    ScratchDir dir;
    WriteBytes(dir.file(L"plain"), Bytes(4, 'x'));
    KMemDC target(8, 8);
    KDIB none;
    EXPECT_FALSE(none.isValid());
    EXPECT_EQ(0, none.stretchDIBits(target, 0, 0, 8, 8));
    KMemDC mem(W, H);
    Blocks(mem);
    KDIB dib(mem);
    BoxWatcher boxes;
    // A directory that cannot be made: its parent is a file.
    const Caught thrown = Catch([&] { dib.writeToFile(KString(dir.file(L"plain\\sub\\a.bmp").c_str())); });
    EXPECT_FALSE(thrown) << thrown.text;
    ASSERT_EQ(1u, boxes.count());
    EXPECT_NE(std::wstring::npos, boxes.box().title.find(L"(01-1000)")) << Narrow(boxes.box().title);
    EXPECT_EQ(0u, boxes.box().text.find(L"Could not store DIB to file.")) << Narrow(boxes.box().text);
}
