// Drawing speed, measured side by side in one run, each side's best of
// alternating rounds:
// - multi-line anchored, justified textOut of 2,000 three-line texts against
//   DrawTextW centring the same texts in the same rectangles;
// - drawLines of 100,000 points in one colour against one Polyline through
//   them with a pen of that colour.
// Both draw into memory bitmaps of the screen's format.
#include <korvel.h>
#include <stdio.h>
#include <vector>

namespace {

const int Texts = 2000, Points = 100000, Rounds = 7;

double Best(double a, double b) { return a < b ? a : b; }

void CompareTexts()
{
    std::vector<KString> texts(Texts);
    for (int i = 0; i < Texts; ++i)
        texts[i].set("Channel %d\nvalue %d.%03d\nvolts", i % 16, i, (i * 37) % 1000);
    KMemDC library(400, 300), raw(400, 300);
    library.setFont(L"Arial", 10);
    raw.setFont(L"Arial", 10);
    library.setAlign(0, 0);
    library.setJustify(2);
    double bestLibrary = 1e9, bestRaw = 1e9;
    for (int r = 0; r < Rounds; ++r) {
        double start = get_time();
        for (int i = 0; i < Texts; ++i)
            library.textOut(DCRect(i % 300, i % 200, 100, 100), texts[i]);
        bestLibrary = Best(bestLibrary, get_time() - start);
        start = get_time();
        for (int i = 0; i < Texts; ++i) {
            RECT rc = {i % 300, i % 200, i % 300 + 100, i % 200 + 100};
            // DrawTextW centres lines horizontally only; the block is put
            // in the middle of the rectangle as textOut does.
            RECT measured = rc;
            DrawTextW(raw, texts[i], texts[i].length(), &measured, DT_CENTER | DT_CALCRECT);
            rc.top += (100 - (measured.bottom - measured.top)) / 2;
            DrawTextW(raw, texts[i], texts[i].length(), &rc, DT_CENTER);
        }
        bestRaw = Best(bestRaw, get_time() - start);
    }
    printf("%d three-line texts, best of %d rounds\n", Texts, Rounds);
    printf("  textOut, anchored and justified : %10.0f texts/s\n", Texts / bestLibrary);
    printf("  DrawTextW, measured and centred : %10.0f texts/s\n", Texts / bestRaw);
    printf("  time ratio library / raw: %.2f (target <= 1.5)\n", bestLibrary / bestRaw);
}

void CompareLines()
{
    std::vector<POINT> points(Points);
    std::vector<COLORREF> colours(Points, RGB(0, 0, 255));
    for (int i = 0; i < Points; ++i)
        points[i] = POINT{i % 800, (i * 7919) % 600};
    KMemDC library(800, 600), raw(800, 600);
    double bestLibrary = 1e9, bestRaw = 1e9;
    for (int r = 0; r < Rounds; ++r) {
        double start = get_time();
        library.drawLines(points.data(), Points, colours.data());
        bestLibrary = Best(bestLibrary, get_time() - start);
        start = get_time();
        HPEN pen = CreatePen(PS_SOLID, 0, RGB(0, 0, 255));
        HGDIOBJ previous = SelectObject(raw, pen);
        Polyline(raw, points.data(), Points);
        SelectObject(raw, previous);
        DeleteObject(pen);
        bestRaw = Best(bestRaw, get_time() - start);
    }
    printf("%d points in one colour, best of %d rounds\n", Points, Rounds);
    printf("  drawLines        : %8.2f ms\n", bestLibrary * 1000);
    printf("  one raw Polyline : %8.2f ms\n", bestRaw * 1000);
    printf("  time ratio library / raw: %.2f (target <= 1.5)\n", bestLibrary / bestRaw);
}

} // namespace

int main()
{
    CompareTexts();
    CompareLines();
    return 0;
}
