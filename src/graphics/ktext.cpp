// Text on device contexts: measuring, the class-wide line table, anchored and
// justified multi-line output, and characters centred on their ink.
#include "kgraphics.h"
#include "kdiag.h"
#include <wchar.h>

KArray<KTextExtentLine> KDevInfo::text_line;
int KDevInfo::num_text_line = 0;
int KDevInfo::max_text_line = 0;
DCRect KDevInfo::text_rect;

BOOL KDevInfo::stringExtent(const wchar_t* text, int length, int* cx, int* cy)
{
    SIZE s = {0, 0};
    BOOL ok = GetTextExtentPoint32W(hdc, text, length, &s);
    if (cx)
        *cx = s.cx;
    if (cy)
        *cy = s.cy;
    return ok;
}

BOOL KDevInfo::stringExtent(const KString& text, int* cx, int* cy)
{
    return stringExtent(text, text.length(), cx, cy);
}

BOOL KDevInfo::stringExtent(const wchar_t* text, int* cx, int* cy)
{
    return stringExtent(text, (int)wcslen(text), cx, cy);
}

int KDevInfo::lineHeight()
{
    int h = 0;
    stringExtent(L"A", 1, nullptr, &h);
    return h;
}

int KDevInfo::getCharWidth(wchar_t ch)
{
    int w = 0;
    GetCharWidth32W(hdc, ch, ch, &w);
    return w;
}

// Calls f(start, length, endsWithLineFeed) for each line of the text.
template <class F>
static void ForEachLine(const wchar_t* text, int length, F f)
{
    int start = 0;
    for (int i = 0; i < length; ++i) {
        if (text[i] != L'\n')
            continue;
        f(start, i - start, true);
        start = i + 1;
    }
    if (start < length)
        f(start, length - start, false);
}

void KDevInfo::getTextExtent(const wchar_t* text, int length, int* cx, int* cy)
{
    const int h = lineHeight();
    int widest = 0, height = h;
    ForEachLine(text, length, [&](int start, int n, bool lineFeed) {
        int w = 0;
        stringExtent(text + start, n, &w, nullptr);
        if (w > widest)
            widest = w;
        if (lineFeed)
            height += h;
    });
    if (cx)
        *cx = widest;
    if (cy)
        *cy = height;
}

void KDevInfo::getTextExtent(const KString& text, int* cx, int* cy)
{
    getTextExtent(text, text.length(), cx, cy);
}

void KDevInfo::clearTextLines()
{
    num_text_line = 0;
    text_rect = DCRect();
}

void KDevInfo::addTextLine(int width, int height, const wchar_t* text, int length)
{
    if (num_text_line == text_line.count()) {
        text_line.append(KTextExtentLine());
        max_text_line = text_line.count();
    }
    KTextExtentLine& line = text_line[num_text_line++];
    line = KTextExtentLine{width, height, text, length};
    text_rect.h += height;
    if (width > text_rect.w)
        text_rect.w = width;
}

void KDevInfo::getTextExtent(const wchar_t* text, int length)
{
    clearTextLines();
    const int h = lineHeight();
    if (length <= 0) {
        addTextLine(0, h, text, 0);
        return;
    }
    ForEachLine(text, length, [&](int start, int n, bool lineFeed) {
        int w = 0;
        stringExtent(text + start, n, &w, nullptr);
        addTextLine(w, h, text + start, n);
        // A text that ends with a line feed ends with an empty line.
        if (lineFeed && start + n + 1 == length)
            addTextLine(0, h, text + length, 0);
    });
}

void KDevInfo::getTextExtent(const KString& text)
{
    getTextExtent(text, text.length());
}

// --- Output ------------------------------------------------------------------

void KDevContext::textOut(int x, int y, const wchar_t* text, int length)
{
    getTextExtent(text, length);
    const int W = text_rect.w, H = text_rect.h;
    if (xalign == 0)
        x -= W / 2;
    else if (xalign == 2)
        x -= W;
    UINT align = TA_LEFT | TA_TOP;
    if (yalign == 0)
        y -= H / 2;
    else if (yalign == 5)
        y -= H;
    else if (yalign == 3)
        align = TA_BASELINE;
    const UINT previous = SetTextAlign(hdc, align);
    for (int i = 0; i < num_text_line; ++i) {
        const KTextExtentLine& line = text_line[i];
        int offset;
        switch (justify) {
        case 0: offset = 0; break;
        case 1: offset = W - line.width; break;
        case 2: offset = (W - line.width) / 2; break;
        default:
            SetTextAlign(hdc, previous);
            ErrorBox(ERRCODE(1, 1008), "Unknown text justification=%d.", justify);
            return;
        }
        TextOutW(hdc, x + offset, y, line.text, line.length);
        y += line.height;
    }
    SetTextAlign(hdc, previous);
}

void KDevContext::textOut(const DCRect& r, const wchar_t* text, int length)
{
    int x, y;
    switch (xalign) {
    case 0: x = r.x + r.w / 2; break;
    case 1: x = r.x; break;
    case 2: x = r.x + r.w; break;
    default: ErrorBox(ERRCODE(1, 1009), "Unkown xalign=%d.", xalign); return;
    }
    switch (yalign) {
    case 0: y = r.y + r.h / 2; break;
    case 4: y = r.y; break;
    default: ErrorBox(ERRCODE(1, 1010), "Unkown yalign=%d.", yalign); return;
    }
    textOut(x, y, text, length);
}

void KDevContext::wprintf(int x, int y, const char* format, ...)
{
    KString text;
    va_list args;
    va_start(args, format);
    text._vsprint(format, args);
    va_end(args);
    textOut(x, y, text);
}

void KDevContext::wprintf(KPOINT p, const char* format, ...)
{
    KString text;
    va_list args;
    va_start(args, format);
    text._vsprint(format, args);
    va_end(args);
    textOut(p.x, p.y, text);
}

void KDevContext::drawCentered(int x, int y, wchar_t ch)
{
    if (ch != glyphChar) {
        GLYPHMETRICS gm = {};
        const MAT2 identity = {{0, 1}, {0, 0}, {0, 0}, {0, 1}};
        GetGlyphOutlineW(hdc, ch, GGO_METRICS, &gm, 0, nullptr, &identity);
        glyphOffsetX = (int)(gm.gmBlackBoxX / 2) + gm.gmptGlyphOrigin.x;
        glyphOffsetY = gm.gmptGlyphOrigin.y - (int)(gm.gmBlackBoxY / 2);
        glyphChar = ch;
    }
    const UINT previous = SetTextAlign(hdc, TA_BASELINE);
    TextOutW(hdc, x - glyphOffsetX, y + glyphOffsetY, &ch, 1);
    SetTextAlign(hdc, previous);
}
