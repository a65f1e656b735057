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
        const std::vector<DWORD> p = pixels();
        const DWORD rgb = RGB(GetBValue(c), GetGValue(c), GetRValue(c)); // as 0x00RRGGBB
        return (int)std::count_if(p.begin(), p.end(), [&](DWORD x) { return (x & 0xFFFFFF) != rgb; });
    }
};

Longs Of(const DCRect& r) { return Longs{r.x, r.y, r.w, r.h}; }

} // namespace

TEST(DrawingObjects, OwnershipOfSelectionsAndTheLibrarysCount)
{
    const int before = GetLibraryGDIObjectCount();
    KPen mine(RGB(1, 2, 3));
    {
        Canvas dc(8, 8);
        const HGDIOBJ initial = GetCurrentObject(dc, OBJ_PEN);
        HGDIOBJ last = initial;
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(last, dc.setPen(RGB(i, 0, 0)));
            EXPECT_EQ(i ? 0u : (DWORD)OBJ_PEN, GetObjectType(last)) << "a replaced pen is deleted at once";
            last = dc.getPen();
        }
        dc.setPen(&mine);
        EXPECT_EQ(0u, GetObjectType(last));
        dc.setFont(L"Arial", 10);
        const HGDIOBJ font = dc.getFontHandle();
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
    KWindow* w = ShownPopup(windows, 0, 0, 120, 60);
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
    const Case cases[] = {{L"ab\ncdef", 2, wide, 4}, {L"ab\n", 2, narrow, 0}, // ends with an empty line
                          {L"", 1, 0, 0}, {L"\n\n", 3, 0, 0}};
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
    // Points at 96 pixels an inch, and shrunk for a preview; a KFont takes no preview factor.
    ASSERT_EQ(96, dc.getLOGPIXELSY());
    LOGFONTW normal, preview, plain;
    dc.setFont(L"Arial", 8);
    GetObjectW(dc.getFontHandle(), sizeof(normal), &normal);
    dc.setIsPreview(true);
    dc.setFont(8, 900);
    GetObjectW(dc.getFontHandle(), sizeof(preview), &preview);
    KFont font;
    font.create(L"Arial", 8);
    font.getObject(plain);
    EXPECT_EQ((Longs{-11, -7, 900, 900, -11}), (Longs{normal.lfHeight, preview.lfHeight, preview.lfEscapement,
                                                     preview.lfOrientation, plain.lfHeight}));
}

TEST(Text, AnchoredAndJustifiedBlocksAndBadSettings)
{
    const KString text(L"Wide first line\nab\nmiddle");
    const wchar_t* lines[3] = {L"Wide first line", L"ab", L"middle"};
    struct Case { int xalign, yalign, justify; };
    const Case cases[] = {{1, 4, 0}, {0, 0, 2}, {2, 5, 1}, {1, 3, 2}};
    for (const Case& c : cases) {
        // The block drawn by its anchor against its lines drawn one by one where the anchor says.
        Canvas anchored(240, 120), expected(240, 120);
        for (Canvas* dc : {&anchored, &expected})
            dc->setFont(L"Arial", 10);
        anchored.setAlign(c.xalign, c.yalign);
        anchored.setJustify(c.justify);
        anchored.textOut(120, 60, text);
        const int W = KDevInfo::text_rect.w, H = KDevInfo::text_rect.h;
        const int left = c.xalign == 0 ? 120 - W / 2 : c.xalign == 2 ? 120 - W : 120;
        const int top = c.yalign == 0 ? 60 - H / 2 : c.yalign == 5 ? 60 - H : 60;
        expected.setTextAlign(c.yalign == 3 ? TA_BASELINE : TA_TOP);
        for (int i = 0; i < 3; ++i) {
            int w;
            expected.stringExtent(lines[i], &w, nullptr);
            const int offset = c.justify == 0 ? 0 : c.justify == 1 ? W - w : (W - w) / 2;
            expected.stringOut(left + offset, top + i * H / 3, KString(lines[i]));
        }
        EXPECT_TRUE(expected.pixels() == anchored.pixels()) << c.xalign << c.yalign << c.justify;
        EXPECT_LT(200, anchored.countNot(Ground)) << "the text was drawn";
        EXPECT_EQ(TA_TOP, anchored.getTextAlign()) << "the alignment of the context is put back";
    }
    // Anchored in a rectangle: its middle, or its top-right corner.
    Canvas inRect(240, 120), atPoint(240, 120);
    for (Canvas* dc : {&inRect, &atPoint}) {
        dc->setFont(L"Arial", 10);
        dc->setAlign(0, 0);
    }
    inRect.textOut(DCRect(20, 10, 200, 100), text);
    atPoint.textOut(120, 60, text);
    EXPECT_TRUE(atPoint.pixels() == inRect.pixels());
    // Settings the output does not know are reported, and nothing is drawn.
    struct Bad { int xalign, yalign, justify; const wchar_t* report; };
    const Bad bad[] = {{1, 3, 2, L"Unkown yalign=3."}, {1, 5, 2, L"Unkown yalign=5."},
                       {7, 4, 2, L"Unkown xalign=7."}, {1, 4, 4, L"Unknown text justification=4."}};
    for (const Bad& b : bad) {
        BoxWatcher watcher;
        Canvas dc(100, 40);
        dc.setAlign(b.xalign, b.yalign);
        dc.setJustify(b.justify);
        dc.textOut(DCRect(0, 0, 100, 40), text);
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
        const int rings = (int)strlen(c.rings);
        std::string topLeft, bottomRight;
        for (int i = 0; i < rings; ++i) {
            topLeft += dc.getPixel(5 + i, 20) == L ? 'L' : dc.getPixel(5 + i, 20) == D ? 'D' : '?';
            bottomRight += dc.getPixel(34 - i, 20) == L ? 'D' : dc.getPixel(34 - i, 20) == D ? 'L' : '?';
            EXPECT_EQ(dc.getPixel(5 + i, 6 + i), dc.getPixel(20, 5 + i)) << "left and top alike";
        }
        EXPECT_EQ(std::string(c.rings) + c.rings, topLeft + bottomRight) << c.style << "/" << c.thickness;
        EXPECT_EQ(4 * (30 - rings) * rings, dc.countNot(Ground)) << "nothing inside or outside";
    }
    BoxWatcher watcher;
    Canvas dc(40, 40);
    dc.drawShadow(DCRect(0, 0, 40, 40), 7, 2);
    ASSERT_EQ(1u, watcher.count());
    EXPECT_EQ(L"Unknown shadow style 7.", watcher.box().text);

    // Rectangles without area draw nothing; rectangles that only touch do not intersect.
    dc.drawRect(DCRect(5, 5, 0, 10));
    dc.fillRect(DCRect(5, 5, 10, 0), Red);
    dc.drawRect(DCRect(5, 5, 10, -1));
    EXPECT_EQ(0, dc.countNot(Ground));
    EXPECT_EQ((Longs{0, 0, 0, 0}), Of(Intersect(DCRect(0, 0, 10, 10), DCRect(10, 0, 5, 5))));
    EXPECT_EQ((Longs{4, 0, 6, 3}), Of(Intersect(DCRect(0, 0, 10, 10), DCRect(4, -2, 20, 5))));
    // Characters centred on their ink whatever their bearings (the cache follows the character).
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
    // Segment i in colour i: one pen and polyline per run of a colour.
    const POINT points[4] = {{0, 5}, {10, 5}, {20, 5}, {30, 5}};
    const COLORREF colours[3] = {Red, Red, Blue};
    dc.drawLines(points, 4, colours);
    // The squares of the test's bitmap resource, placed by the anchor and stretched.
    dc.setAlign(2, 5);
    dc.showBitmap(101, 40, 40, 16, 16);
    struct Spot { int x, y; COLORREF colour; };
    const Spot spots[] = {{0, 5, Red}, {10, 5, Red}, {19, 5, Red}, {20, 5, Blue}, {29, 5, Blue},
                          {30, 5, Ground}, {24, 24, Red}, {39, 24, RGB(0, 160, 0)}, {24, 39, Blue},
                          {39, 39, RGB(255, 255, 0)}, {23, 23, Ground}};
    for (const Spot& p : spots)
        EXPECT_EQ(p.colour, dc.getPixel(p.x, p.y)) << p.x << "," << p.y;
}

// One picture of every composite operation against a reference image kept beside the tests.
// Font rasterisation (hinting and smoothing of the installed fonts) may change the pixels of
// the text blocks and nothing else: outside the blocks the picture must match exactly; inside
// each block the number of ink pixels may differ by a quarter at most.
TEST(Drawing, CompositePictureMatchesTheReferenceImage)
{
    const int W = 240, H = 160;
    const COLORREF face = RGB(212, 208, 200), G = RGB(0, 128, 0);
    Canvas dc(W, H, face);
    const short styles[4] = {EDGE_RAISED, EDGE_SUNKEN, EDGE_ETCHED, EDGE_BUMP};
    for (int i = 0; i < 4; ++i)
        dc.drawShadow(DCRect(8 + 58 * i, 8, 50, 40), styles[i], (short)(2 + i % 2 * 2));
    POINT zigzag[9];
    for (int i = 0; i < 9; ++i)
        zigzag[i] = POINT{8 + 25 * i, i % 2 ? 60 : 90};
    const COLORREF colours[8] = {Red, Red, Red, G, G, G, Blue, Blue};
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
    SaveBitmap(ProgramDir() + L"composite.bmp", dc);
    const std::wstring source = Wide(std::string(KORVEL_TEST_SOURCE_DIR)) + L"/composite.bmp";
    HBITMAP bitmap = (HBITMAP)LoadImageW(nullptr, source.c_str(), IMAGE_BITMAP, 0, 0,
                                         LR_LOADFROMFILE | LR_CREATEDIBSECTION);
    ASSERT_TRUE(bitmap) << "no reference image; this run's is bin/composite.bmp";
    KBitmap held(bitmap, true);
    Canvas reader(W, H);
    reader.setBitmap(&held);
    const std::vector<DWORD> picture = dc.pixels(), reference = reader.pixels();
    auto ink = [&](const std::vector<DWORD>& p, const DCRect& r) {
        int n = 0;
        for (long y = r.y; y < r.y + r.h; ++y)
            for (long x = r.x; x < r.x + r.w; ++x)
                n += (p[(size_t)(y * W + x)] & 0xFFFFFF) != 0xD4D0C8;
        return n;
    };
    for (int b = 0; b < 2; ++b) {
        const int here = ink(picture, boxes[b]), there = ink(reference, boxes[b]);
        EXPECT_GT(here, 20) << "block " << b << " has text";
        EXPECT_LE(std::abs(here - there) * 4, there) << "block " << b;
        dc.fillRect(boxes[b], face);
        reader.fillRect(boxes[b], face);
    }
    EXPECT_TRUE(dc.pixels() == reader.pixels()) << "pixels outside the text blocks differ";
}
