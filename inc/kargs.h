// Attribute lists: ordered (identifier, value) pairs that configure widgets
// in their factories and in setValues.
#ifndef KORVEL_KARGS_H
#define KORVEL_KARGS_H

#include <windows.h>
#include "kexport.h"

class KWindow;

// One attribute value. Each attribute is read back with the type it is
// defined with; the union does not convert between kinds.
union KORVEL_API KArgVal {
    int i;
    long l;
    unsigned long ul;
    short s;
    unsigned short us;
    bool b;
    float f;
    double d;
    HFONT font;
    KWindow* window;
    const wchar_t* text;

    KArgVal() : d(0) { i = 0; }
    KArgVal(int v) : d(0) { i = v; }
    KArgVal(long v) : d(0) { l = v; }
    KArgVal(unsigned long v) : d(0) { ul = v; }
    KArgVal(short v) : d(0) { s = v; }
    KArgVal(unsigned short v) : d(0) { us = v; }
    KArgVal(bool v) : d(0) { b = v; }
    KArgVal(float v) : d(0) { f = v; }
    KArgVal(double v) : d(v) {}
    KArgVal(HFONT v) : d(0) { font = v; }
    KArgVal(KWindow* v) : d(0) { window = v; }
    KArgVal(const wchar_t* v) : d(0) { text = v; }

    operator int() const { return i; }
    operator long() const { return l; }
    operator unsigned long() const { return ul; }
    operator short() const { return s; }
    operator unsigned short() const { return us; }
    operator bool() const { return b; }
    operator float() const { return f; }
    operator double() const { return d; }
    operator HFONT() const { return font; }
    operator KWindow*() const { return window; }
    operator const wchar_t*() const { return text; }
};

struct KArg {
    int attrib = 0;
    KArgVal val;
};

// A list of at most 60 pairs, kept by value on the caller's stack.
class KORVEL_API KArgList {
public:
    enum { CAPACITY = 60 };

    KArgList();
    ~KArgList() { count = 0; }

    // Appends a pair (earlier pairs of the same attribute stay); returns its
    // position, or -1 when the list is full.
    int add(int attrib, int v) { return put(attrib, KArgVal(v)); }
    int add(int attrib, long v) { return put(attrib, KArgVal(v)); }
    int add(int attrib, unsigned long v) { return put(attrib, KArgVal(v)); }
    int add(int attrib, short v) { return put(attrib, KArgVal(v)); }
    int add(int attrib, unsigned short v) { return put(attrib, KArgVal(v)); }
    int add(int attrib, bool v) { return put(attrib, KArgVal(v)); }
    int add(int attrib, float v) { return put(attrib, KArgVal(v)); }
    int add(int attrib, double v) { return put(attrib, KArgVal(v)); }
    int add(int attrib, HFONT v) { return put(attrib, KArgVal(v)); }
    int add(int attrib, KWindow* v) { return put(attrib, KArgVal(v)); }
    int add(int attrib, const wchar_t* v) { return put(attrib, KArgVal(v)); }
    // Removes the first pair of the attribute, then appends the new one.
    int set(int attrib, int value);

    void removeArg(int index);
    void removeAttrib(int attrib);
    bool isSet(int attrib) const;

    int numArg() const { return count; }
    int attr(int index) const { return args[index].attrib; }
    const KArgVal& val(int index) const { return args[index].val; }
    void clear() { count = 0; }

private:
    int put(int attrib, const KArgVal& v);

    int count;
    KArg args[CAPACITY];
};

// Hands out the next attribute identifier (0, 1, 2 ...).
KORVEL_API int GetUniqueAttrib();

// The library's attribute identifiers, numbered when the library is loaded.
extern KORVEL_API const int WA_PROMPT_FW;
extern KORVEL_API const int WA_STRIP_SPACES;
extern KORVEL_API const int WA_TEXT_FONT;
extern KORVEL_API const int WA_TEXT_LEFT_MARGIN;
extern KORVEL_API const int WA_TEXT_RIGHT_MARGIN;
extern KORVEL_API const int WA_TEXT_OFFSET;
extern KORVEL_API const int WA_TEXT_BACKGROUND;
extern KORVEL_API const int WA_HAS_EDIT;
extern KORVEL_API const int WA_TEXT_CASE;
extern KORVEL_API const int WA_ICON_EXTRA;
extern KORVEL_API const int WA_ICON_STYLE;
extern KORVEL_API const int WA_SORT;
extern KORVEL_API const int WA_IS_PASSWORD;
extern KORVEL_API const int WA_AUTO_HSCROLL;
extern KORVEL_API const int WA_ALLOWED_CHARS;
extern KORVEL_API const int WA_UPDATE_ALWAYS;
extern KORVEL_API const int WA_NUM_DISP_ROW;
extern KORVEL_API const int WA_NUM_DISP_COL;
extern KORVEL_API const int WA_VERTICAL_SCROLLBAR;
extern KORVEL_API const int WA_HORIZONTAL_SCROLLBAR;
extern KORVEL_API const int WA_TABLE_MODE;
extern KORVEL_API const int WA_COL_ALIGN;
extern KORVEL_API const int WA_CELL_HEIGHT;
extern KORVEL_API const int WA_LINE_COLOR;
extern KORVEL_API const int WA_SHOW_ENTRY;
extern KORVEL_API const int WA_ENTRY_BASE;
extern KORVEL_API const int WA_ALLOW_INSERT;
extern KORVEL_API const int WA_HIGHLIGHT_SELECT;
extern KORVEL_API const int WA_TITLE_SHADOW_THICK;
extern KORVEL_API const int WA_TITLE_DOUBLE_CLICKS;
extern KORVEL_API const int WA_SIDE_MARGIN;
extern KORVEL_API const int WA_ATTACH_SIDE;
extern KORVEL_API const int WA_VERTICAL_MARGIN;
extern KORVEL_API const int WA_HORIZONTAL_MARGIN;
extern KORVEL_API const int WA_DRAW_FRAME;
extern KORVEL_API const int WA_ROW;
extern KORVEL_API const int WA_COL;
extern KORVEL_API const int WA_NUM_GRID_ROW;
extern KORVEL_API const int WA_NUM_GRID_COL;
extern KORVEL_API const int WA_TOP_MARGIN;
extern KORVEL_API const int WA_BOTTOM_MARGIN;
extern KORVEL_API const int WA_OUTER_MARGINS;
extern KORVEL_API const int WA_ALIGN_RIGHT;
extern KORVEL_API const int WA_ALLOW_HORZ;
extern KORVEL_API const int WA_ALLOW_VERT;
extern KORVEL_API const int WA_OUTER_MARGIN;
extern KORVEL_API const int WA_INNER_MARGIN;
extern KORVEL_API const int WA_TAB_NAME;
extern KORVEL_API const int WA_TAB_RESIZE;
extern KORVEL_API const int WA_VERT_SCROLL;
extern KORVEL_API const int WA_HORZ_SCROLL;
extern KORVEL_API const int WA_NUM_LINE;
extern KORVEL_API const int WA_NUM_CHAR;
extern KORVEL_API const int WA_TEXT;
extern KORVEL_API const int WA_ALIGN_X;
extern KORVEL_API const int WA_ALIGN_Y;
extern KORVEL_API const int WA_JUST_X;
extern KORVEL_API const int WA_MARGIN_WIDTH;
extern KORVEL_API const int WA_LEFT_MARGIN;
extern KORVEL_API const int WA_RIGHT_MARGIN;
extern KORVEL_API const int WA_MARGIN_HEIGHT;
extern KORVEL_API const int WA_FIELD_WIDTH;
extern KORVEL_API const int WA_BITMAP_ID;
extern KORVEL_API const int WA_CHECK_BOX;
extern KORVEL_API const int WA_LIMIT_MOUSE;
extern KORVEL_API const int WA_TOGGLE_MASK;
extern KORVEL_API const int WA_SET_COLOR;
extern KORVEL_API const int WA_SET_TEXT;
extern KORVEL_API const int WA_ORIENTATION;
extern KORVEL_API const int WA_MESSAGE_BOX;
extern KORVEL_API const int WA_BUTTON_BAR;
extern KORVEL_API const int WA_DEFAULT_SHADOW_STYLE;
extern KORVEL_API const int WA_X;
extern KORVEL_API const int WA_Y;
extern KORVEL_API const int WA_WIDTH;
extern KORVEL_API const int WA_HEIGHT;
extern KORVEL_API const int WA_CLIENT_WIDTH;
extern KORVEL_API const int WA_CLIENT_HEIGHT;
extern KORVEL_API const int WA_IS_MAPPED;
extern KORVEL_API const int WA_IS_MANAGED;
extern KORVEL_API const int WA_SHADOW_STYLE;
extern KORVEL_API const int WA_SHADOW_THICK;
extern KORVEL_API const int WA_FONT;
extern KORVEL_API const int WA_BORDERWIDTH;
extern KORVEL_API const int WA_BACKGROUND;
extern KORVEL_API const int WA_FOREGROUND;
extern KORVEL_API const int WA_BORDER_COLOR;
extern KORVEL_API const int WA_WINDOWS_STYLE;
extern KORVEL_API const int WA_WINDOWS_EXSTYLE;
extern KORVEL_API const int WA_RESIZE_BORDER;
extern KORVEL_API const int WA_CLASS_ATOM;
extern KORVEL_API const int WA_ADD_WINDOWS_STYLE;
extern KORVEL_API const int WA_ENABLE_IS_MODIFIED;
extern KORVEL_API const int WA_ADD_TO_TAB_GROUP;
extern KORVEL_API const int WA_SHOW_DISABLED;
extern KORVEL_API const int WA_ENTER_LEAVE_ENABLED;
extern KORVEL_API const int WA_USE_REGISTRY_POS;
extern KORVEL_API const int WA_USE_REGISTRY_SIZE;
extern KORVEL_API const int WA_ERASE_BACKGROUND;
extern KORVEL_API const int WA_IS_GRIP_WIN;
extern KORVEL_API const int WA_MODIFIED_ON_CHANGE;
extern KORVEL_API const int WA_VERT_DIV;
extern KORVEL_API const int WA_HORZ_DIV;

#endif
