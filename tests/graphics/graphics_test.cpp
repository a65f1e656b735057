// Device contexts and drawing objects: ownership and the library's object count, text layout
// and anchoring, font heights, shadows, segmented lines and bitmaps, read back from memory bitmaps.
#include <gtest/gtest.h>
#include "test_support.h"

namespace {

typedef std::vector<long> Longs;
const COLORREF Ground = RGB(0, 0, 80), Red = RGB(255, 0, 0), Blue = RGB(0, 0, 255);

// A memory bitmap of the screen's format filled with one colour.
struct Canvas : KMemDC {
    Canvas(int w, int h, COLORREF fill = Ground) : KMemDC(w, h)
    {
        fillRect(DCRect(0, 0, w, h), fill);
        setBkMode(TRANSPARENT);
    }
    std::vector<DWORD> pixels() { return Pixels(*this); }
    int countNot(COLORREF c)
    {
        const DWORD rgb = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
        int n = 0;
        for (DWORD p : pixels())
            n += (p & 0xFFFFFF) != rgb;
        return n;
    }
};

int Differences(Canvas& a, Canvas& b)
{
    const std::vector<DWORD> pa = a.pixels(), pb = b.pixels();
    int n = 0;
    for (size_t i = 0; i < pa.size(); ++i)
        n += pa[i] != pb[i];
    return n;
}

std::wstring Line(const wchar_t* text, int line)
{
    std::wstring s(text);
    for (size_t start = 0;; --line) {
        size_t end = s.find(L'\n', start);
        if (line == 0)
            return s.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
        start = end + 1;
    }
}

} // namespace

TEST(DrawingObjects, OwnershipOfSelectionsAndTheLibrarysCount)
{
    const int before = GetLibraryGDIObjectCount();
    KPen mine(RGB(1, 2, 3));
    HGDIOBJ font;
    {
        Canvas dc(8, 8);
        const HGDIOBJ initial = GetCurrentObject(dc, OBJ_PEN);
        HPEN made[3];
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(i ? (HGDIOBJ)made[i - 1] : initial, dc.setPen(RGB(i, 0, 0)));
            made[i] = dc.getPen();
            if (i > 0)
                EXPECT_EQ(0u, GetObjectType(made[i - 1])) << "a replaced pen is deleted at once";
        }
        dc.setPen(&mine);
        EXPECT_EQ(0u, GetObjectType(made[2]));
        dc.setFont(L"Arial", 10);
        font = dc.getFontHandle();
        dc.restoreSelection();
        dc.restoreSelection(); // nothing more the second time
        EXPECT_EQ(initial, GetCurrentObject(dc, OBJ_PEN));
        EXPECT_EQ(0u, GetObjectType(font));
        dc.setBrush(Red);
    }
    EXPECT_EQ(OBJ_PEN, GetObjectType(mine)) << "an object passed in stays its owner's";
    EXPECT_EQ(before + 1, GetLibraryGDIObjectCount()) << "only the pen held by the test is left";
    KDevInfo().restoreSelection(); // a null handle does nothing

    // Many contexts and selections, and many repaints of a window drawing through them.
    KDisplay like;
    for (int i = 0; i < 100000; ++i) {
        KMemDC dc(&like, 4, 4);
        dc.setPen(RGB(i, 0, 0));
        dc.setBrushHatch(RGB(0, i, 0), HS_CROSS);
        dc.setPen(Blue);
    }
    EXPECT_EQ(before + 2, GetLibraryGDIObjectCount()) << "the pen and the screen context";
    WindowOwner windows;
    KArgList args;
    args.add(WA_WINDOWS_STYLE, (unsigned long)WS_POPUP);
    args.add(WA_WIDTH, 120);
    args.add(WA_HEIGHT, 60);
    KWindow* w = windows.own(MakeWindow(nullptr, &args));
    w->show(true);
    AddEventHandler(w, [](KWindow* win, ExposeEvent*) {
        KWinDC dc(win);
        dc.setFont(L"Arial", 9);
        dc.setPen(Red, PS_DASH, 1);
        dc.drawShadow(DCRect(0, 0, 120, 60), EDGE_BUMP, 2);
        dc.textOut(DCRect(0, 0, 120, 60), KString(L"repaint"));
    });
    const int start = GetLibraryGDIObjectCount();
    for (int painted = 0; painted < 1000; ++painted) {
        InvalidateRect(*w, nullptr, FALSE);
        UpdateWindow(*w);
    }
    EXPECT_EQ(start, GetLibraryGDIObjectCount());
    TODO_WINE(GetGDIObjectCount() > 0);
}

TEST(Text, LinesOfALayoutAndFontHeights)
{
    Canvas dc(100, 40);
    dc.setFont(L"Arial", 12);
    int h, wide, narrow;
    dc.stringExtent(L"A", nullptr, &h);
    dc.stringExtent(L"cdef", &wide, nullptr);
    dc.stringExtent(L"ab", &narrow, nullptr);
    struct Case { const wchar_t* text; int lines, width, lastLength; };
    const Case cases[] = {
        {L"ab\ncdef", 2, wide, 4},
        {L"ab\n", 2, narrow, 0}, // a final line feed ends with an empty line
        {L"", 1, 0, 0},
        {L"\n\n", 3, 0, 0},
    };
    for (const Case& c : cases) {
        const int n = (int)wcslen(c.text);
        dc.getTextExtent(c.text, n);
        ASSERT_EQ(c.lines, KDevInfo::num_text_line) << Narrow(c.text);
        const KTextExtentLine& last = KDevInfo::text_line[c.lines - 1];
        EXPECT_EQ((Longs{c.width, c.lines * h, c.lastLength}),
                  (Longs{KDevInfo::text_rect.w, KDevInfo::text_rect.h, last.length})) << Narrow(c.text);
        EXPECT_EQ(c.text + n - c.lastLength, last.text) << "lines point into the caller's text";
        int cx, cy;
        dc.getTextExtent(c.text, n, &cx, &cy);
        EXPECT_EQ((Longs{c.width, c.lines * h}), (Longs{cx, cy})) << "the same without the table";
    }
    // Points at 96 pixels an inch, and shrunk for a preview.
    ASSERT_EQ(96, dc.getLOGPIXELSY());
    LOGFONTW lf;
    dc.setFont(L"Arial", 8);
    GetObjectW(dc.getFontHandle(), sizeof(lf), &lf);
    EXPECT_EQ(-11, lf.lfHeight);
    dc.setIsPreview(true);
    dc.setFont(8, 900);
    GetObjectW(dc.getFontHandle(), sizeof(lf), &lf);
    EXPECT_EQ((Longs{-7, 900, 900}), (Longs{lf.lfHeight, lf.lfEscapement, lf.lfOrientation}));
    KFont font;
    font.create(L"Arial", 8);
    font.getObject(lf);
    EXPECT_EQ(-11, lf.lfHeight) << "a KFont takes no preview factor";
}

TEST(Text, AnchoredAndJustifiedBlocksAndBadSettings)
{
    const wchar_t* text = L"Wide first line\nab\nmiddle";
    const int n = (int)wcslen(text);
    struct Case { int xalign, yalign, justify; };
    const Case cases[] = {{1, 4, 0}, {0, 0, 2}, {2, 5, 1}, {1, 3, 2}};
    for (const Case& c : cases) {
        // The block drawn by its anchor against its lines drawn one by one where the anchor says.
        Canvas anchored(240, 120), expected(240, 120);
        for (Canvas* dc : {&anchored, &expected})
            dc->setFont(L"Arial", 10);
        anchored.setAlign(c.xalign, c.yalign);
        anchored.setJustify(c.justify);
        anchored.textOut(120, 60, text, n);
        const int W = KDevInfo::text_rect.w, H = KDevInfo::text_rect.h, h = H / 3;
        const int left = c.xalign == 0 ? 120 - W / 2 : c.xalign == 2 ? 120 - W : 120;
        const int top = c.yalign == 0 ? 60 - H / 2 : c.yalign == 5 ? 60 - H : 60;
        expected.setTextAlign(c.yalign == 3 ? TA_BASELINE : TA_TOP);
        for (int i = 0; i < 3; ++i) {
            const std::wstring line = Line(text, i);
            int w;
            expected.stringExtent(line.c_str(), (int)line.size(), &w, nullptr);
            const int offset = c.justify == 0 ? 0 : c.justify == 1 ? W - w : (W - w) / 2;
            expected.stringOut(left + offset, top + i * h, line.c_str(), (int)line.size());
        }
        EXPECT_EQ(0, Differences(expected, anchored)) << c.xalign << c.yalign << c.justify;
        EXPECT_LT(200, anchored.countNot(Ground)) << "the text was drawn";
        EXPECT_EQ(TA_TOP, anchored.getTextAlign()) << "the alignment of the context is put back";
    }
    // Anchored in a rectangle: its middle, or its top-right corner.
    Canvas inRect(240, 120), atPoint(240, 120);
    for (Canvas* dc : {&inRect, &atPoint})
        dc->setFont(L"Arial", 10), dc->setAlign(0, 0);
    inRect.textOut(DCRect(20, 10, 200, 100), text, n);
    atPoint.textOut(120, 60, text, n);
    EXPECT_EQ(0, Differences(atPoint, inRect));

    // Settings the output does not know are reported, and nothing is drawn.
    struct Bad { int xalign, yalign, justify; const wchar_t* report; };
    const Bad bad[] = {{1, 3, 2, L"Unkown yalign=3."}, {1, 5, 2, L"Unkown yalign=5."},
                       {7, 4, 2, L"Unkown xalign=7."}, {1, 4, 4, L"Unknown text justification=4."}};
    for (const Bad& b : bad) {
        BoxWatcher watcher;
        Canvas dc(100, 40);
        dc.setAlign(b.xalign, b.yalign);
        dc.setJustify(b.justify);
        dc.textOut(DCRect(0, 0, 100, 40), text, n);
        ASSERT_EQ(1u, watcher.count());
        EXPECT_EQ(b.report, watcher.box().text);
        EXPECT_EQ(0, dc.countNot(Ground));
    }
}

TEST(Drawing, ShadowRingsSegmentedLinesBitmapsAndEmptyShapes)
{
    const COLORREF L = GetSysColor(COLOR_BTNHIGHLIGHT), D = GetSysColor(COLOR_BTNSHADOW);
    // The top-left colour of each ring from the outside in; the bottom-right is the other one.
    struct Case { short style, thickness; const char* rings; };
    const Case cases[] = {{EDGE_RAISED, 2, "LL"}, {EDGE_SUNKEN, 3, "DDD"}, {EDGE_ETCHED, 1, "L"},
                          {EDGE_ETCHED, 4, "DDLL"}, {EDGE_BUMP, 3, "LDD"}, {EDGE_BUMP, 0, ""}, {0, 2, ""}};
    for (const Case& c : cases) {
        Canvas dc(40, 40);
        dc.drawShadow(DCRect(5, 5, 30, 30), c.style, c.thickness);
        std::string topLeft, bottomRight;
        for (int i = 0; i < (int)strlen(c.rings); ++i) {
            topLeft += dc.getPixel(5 + i, 20) == L ? 'L' : dc.getPixel(5 + i, 20) == D ? 'D' : '?';
            bottomRight += dc.getPixel(34 - i, 20) == L ? 'D' : dc.getPixel(34 - i, 20) == D ? 'L' : '?';
            EXPECT_EQ(dc.getPixel(5 + i, 6 + i), dc.getPixel(20, 5 + i)) << "left and top alike";
        }
        EXPECT_EQ(c.rings, topLeft) << c.style << "/" << c.thickness;
        EXPECT_EQ(c.rings, bottomRight) << c.style << "/" << c.thickness;
        const int rings = (int)strlen(c.rings);
        EXPECT_EQ(4 * (30 - rings) * rings, dc.countNot(Ground)) << "nothing inside or outside";
    }
    BoxWatcher watcher;
    Canvas dc(40, 40);
    dc.drawShadow(DCRect(0, 0, 40, 40), 7, 2);
    ASSERT_EQ(1u, watcher.count());
    EXPECT_EQ(L"Unknown shadow style 7.", watcher.box().text);

    // Rectangles without area draw nothing.
    dc.drawRect(DCRect(5, 5, 0, 10));
    dc.fillRect(DCRect(5, 5, 10, 0), Red);
    dc.drawRect(DCRect(5, 5, 10, -1));
    EXPECT_EQ(0, dc.countNot(Ground));
    EXPECT_EQ((Longs{0, 0, 0, 0}), ([] {
                  DCRect r = Intersect(DCRect(0, 0, 10, 10), DCRect(10, 0, 5, 5));
                  return Longs{r.x, r.y, r.w, r.h};
              }()))
        << "rectangles that only touch";
    const DCRect both = Intersect(DCRect(0, 0, 10, 10), DCRect(4, -2, 20, 5));
    EXPECT_EQ((Longs{4, 0, 6, 3}), (Longs{both.x, both.y, both.w, both.h}));

    // Segment i in colour i: one pen and polyline per run of a colour.
    const POINT points[4] = {{0, 5}, {10, 5}, {20, 5}, {30, 5}};
    const COLORREF colours[3] = {Red, Red, Blue};
    dc.drawLines(points, 4, colours);
    EXPECT_EQ((std::vector<COLORREF>{Red, Red, Red, Blue, Blue, Ground}),
              (std::vector<COLORREF>{dc.getPixel(0, 5), dc.getPixel(10, 5), dc.getPixel(19, 5),
                                     dc.getPixel(20, 5), dc.getPixel(29, 5), dc.getPixel(30, 5)}));
    // Characters centred on their ink, whatever their side bearings (the cache follows the
    // character).
    Canvas glyph(100, 100);
    glyph.setFont(L"Arial", 40);
    for (wchar_t ch : {L'o', L'j', L'o'}) {
        glyph.fillRect(DCRect(0, 0, 100, 100), Ground);
        glyph.drawCentered(50, 50, ch);
        const std::vector<DWORD> p = glyph.pixels();
        long box[4] = {100, 100, -1, -1};
        for (long i = 0; i < 10000; ++i) {
            if ((p[(size_t)i] & 0xFFFFFF) == 0x000050)
                continue;
            box[0] = std::min(box[0], i % 100), box[1] = std::min(box[1], i / 100);
            box[2] = std::max(box[2], i % 100), box[3] = std::max(box[3], i / 100);
        }
        EXPECT_NEAR(50, (box[0] + box[2]) / 2.0, 1.0) << (char)ch;
        EXPECT_NEAR(50, (box[1] + box[3]) / 2.0, 1.0) << (char)ch;
    }
    // The squares of the test's bitmap resource, placed by the anchor and stretched.
    dc.setAlign(2, 5);
    dc.showBitmap(101, 40, 40, 16, 16);
    EXPECT_EQ((std::vector<COLORREF>{Red, RGB(0, 160, 0), Blue, RGB(255, 255, 0), Ground}),
              (std::vector<COLORREF>{dc.getPixel(24, 24), dc.getPixel(39, 24), dc.getPixel(24, 39),
                                     dc.getPixel(39, 39), dc.getPixel(23, 23)}));
}

namespace {

std::vector<DWORD> ReadBmp(const std::wstring& path, int w, int h)
{
    std::vector<DWORD> pixels;
    HBITMAP bitmap = (HBITMAP)LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0,
                                         LR_LOADFROMFILE | LR_CREATEDIBSECTION);
    if (!bitmap)
        return pixels;
    KBitmap held(bitmap, true);
    Canvas reader(w, h);
    reader.setBitmap(&held);
    pixels = reader.pixels();
    return pixels;
}

} // namespace

// One picture of every composite operation against a reference image kept beside the tests.
// Font rasterisation (hinting and smoothing of the installed fonts) may change the pixels of
// the text blocks and nothing else: outside the blocks the picture must match exactly; inside
// each block the number of ink pixels may differ by a quarter at most.
TEST(Drawing, CompositePictureMatchesTheReferenceImage)
{
    const int W = 240, H = 160;
    const COLORREF face = RGB(212, 208, 200);
    Canvas dc(W, H, face);
    const short styles[4] = {EDGE_RAISED, EDGE_SUNKEN, EDGE_ETCHED, EDGE_BUMP};
    for (int i = 0; i < 4; ++i)
        dc.drawShadow(DCRect(8 + 58 * i, 8, 50, 40), styles[i], (short)(2 + i % 2 * 2));
    POINT zigzag[9];
    COLORREF colours[8];
    for (int i = 0; i < 9; ++i)
        zigzag[i] = POINT{8 + 25 * i, i % 2 ? 60 : 90};
    for (int i = 0; i < 8; ++i)
        colours[i] = i < 3 ? Red : i < 6 ? RGB(0, 128, 0) : Blue;
    dc.drawLines(zigzag, 9, colours);
    dc.showBitmap(101, 200, 100, 32, 32);
    dc.setFont(L"Arial", 9);
    dc.setTextColor(RGB(0, 0, 128));
    struct Block { int x, y, xalign, yalign, justify; const wchar_t* text; };
    const Block blocks[2] = {{60, 125, 0, 0, 2, L"Centred\nblock of\ntext"},
                             {190, 155, 2, 5, 1, L"Right\naligned"}};
    std::vector<DCRect> boxes;
    for (const Block& b : blocks) {
        dc.setAlign(b.xalign, b.yalign);
        dc.setJustify(b.justify);
        dc.textOut(b.x, b.y, KString(b.text));
        const DCRect r = KDevInfo::text_rect;
        const long left = b.xalign == 0 ? b.x - r.w / 2 : b.x - r.w;
        boxes.push_back(DCRect(left, b.yalign == 0 ? b.y - r.h / 2 : b.y - r.h, r.w, r.h));
    }
    const std::vector<DWORD> picture = dc.pixels();
    SaveBitmap(ProgramDir() + L"composite.bmp", dc);
    const std::wstring source = Wide(std::string(KORVEL_TEST_SOURCE_DIR));
    const std::vector<DWORD> reference = ReadBmp(source + L"/composite.bmp", W, H);
    ASSERT_EQ(picture.size(), reference.size()) << "no reference image; this run's is bin/composite.bmp";
    int outside = 0, inkHere[2] = {0, 0}, inkThere[2] = {0, 0};
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            const size_t i = (size_t)(y * W + x);
            int box = -1;
            for (int b = 0; b < 2; ++b) {
                const DCRect& r = boxes[b];
                if (x >= r.x && x < r.x + r.w && y >= r.y && y < r.y + r.h)
                    box = b;
            }
            if (box < 0) {
                outside += (picture[i] & 0xFFFFFF) != (reference[i] & 0xFFFFFF);
                continue;
            }
            inkHere[box] += (picture[i] & 0xFFFFFF) != 0xD4D0C8;
            inkThere[box] += (reference[i] & 0xFFFFFF) != 0xD4D0C8;
        }
    }
    EXPECT_EQ(0, outside) << "pixels outside the text blocks differ";
    for (int b = 0; b < 2; ++b) {
        EXPECT_GT(inkHere[b], 20) << "block " << b << " has text";
        EXPECT_LE(std::abs(inkHere[b] - inkThere[b]) * 4, inkThere[b]) << "block " << b;
    }
}
