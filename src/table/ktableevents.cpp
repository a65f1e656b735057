// The table's value types: columns, header boxes and the events that carry
// cell texts and input to the application.
#include "ktablewin.h"
#include "kgraphics.h"

KTableCol::KTableCol() : font(DEFAULT_FIXED_FONT) {}

void KTableCol::setArg(ColArg key, int value)
{
    switch (key) {
    case COL_FIELD_WIDTH: fieldWidth = value; break;
    case COL_SPACING: spacing = value; break;
    case COL_ALIGN: align = value; break;
    case COL_BACKGROUND: background = (unsigned long)value; break;
    case COL_FOREGROUND: foreground = (unsigned long)value; break;
    case COL_MODE: mode = (TableMode)value; break;
    case COL_FONT: font = (HFONT)(INT_PTR)value; break;
    case COL_SHADOW_STYLE: shadowStyle = (short)value; break;
    case COL_SHADOW_THICK: shadowThick = (short)value; break;
    case COL_BUTTON_LOOK:
        if (!value) {
            shadowThick = 0;
            break;
        }
        background = BUTTON_FACE_COLOR;
        foreground = BUTTON_TEXT_COLOR;
        shadowStyle = 5;
        if (shadowThick == 0)
            shadowThick = 1;
        break;
    case COL_AUTO_HSCROLL: autoHScroll = value != 0; break;
    case COL_STRIP_SPACES: stripSpaces = value != 0; break;
    case COL_ROW_KEYS: rowKeys = value != 0; break;
    default: break; // COL_NONE and beyond fill unused pairs
    }
}

bool KTableCol::operator==(const KTableCol& o) const
{
    return title == o.title && foreground == o.foreground && background == o.background
        && spacing == o.spacing && charWidth == o.charWidth && charHeight == o.charHeight
        && align == o.align && fieldWidth == o.fieldWidth && xLeft == o.xLeft
        && width == o.width && mode == o.mode && shadowThick == o.shadowThick
        && shadowStyle == o.shadowStyle && font == o.font && autoHScroll == o.autoHScroll
        && stripSpaces == o.stripSpaces && rowKeys == o.rowKeys;
}

KTitleBox::KTitleBox(int r, int c) : row(r), lastRow(r), col(c), lastCol(c) {}

TableWinCellEvent::TableWinCellEvent(int reason_, int r, int c)
    : Event(nullptr, (unsigned long)reason_), row(r), col(c)
{
}

TableWinCellEvent::TableWinCellEvent(const KString& t, int r, int c, bool strip)
    : Event(nullptr, 2), row(r), col(c), text(t)
{
    if (strip)
        text.stripSpaces();
}

// reason refers to this record's own type field, so copies rebind it.
TableWinCellEvent::TableWinCellEvent(const TableWinCellEvent& o)
    : Event(o), row(o.row), col(o.col), foreground(o.foreground), background(o.background),
      shadowThick(o.shadowThick), shadowStyle(o.shadowStyle), text(o.text)
{
}

TableWinCellEvent& TableWinCellEvent::operator=(const TableWinCellEvent& o)
{
    Event::operator=(o);
    row = o.row;
    col = o.col;
    foreground = o.foreground;
    background = o.background;
    shadowThick = o.shadowThick;
    shadowStyle = o.shadowStyle;
    text = o.text;
    return *this;
}

void TableWinCellEvent::Set(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    text._vsprint(format, args);
    va_end(args);
}

void TableWinCellEvent::Set(unsigned long fg, unsigned long bg, const char* format, ...)
{
    foreground = fg;
    background = bg;
    va_list args;
    va_start(args, format);
    text._vsprint(format, args);
    va_end(args);
}

TableWinKeyEvent::TableWinKeyEvent(KeyboardEvent* k, int r, int c)
    : Event(k ? k->window : nullptr, k ? k->type : 0), row(r), col(c), key(k)
{
}

TableWinMouseEvent::TableWinMouseEvent(KTableWin* t, MouseEvent* m, int r, int c)
    : Event(t, m ? m->type : 0), mode(t && t->isValidCol(c) ? t->getMode(c) : TABLE_DISPLAY),
      row(r), col(c), mouse(m)
{
}

TableWinTitleEvent::TableWinTitleEvent(KTableWin* t, MouseEvent* m, int c)
    : Event(t, m ? m->type : 0), mode(t && t->isValidCol(c) ? t->getMode(c) : TABLE_DISPLAY),
      col(c), mouse(m)
{
}

bool TableWinCellEventProc::callHandler(KWindow* w, Event* e)
{
    TableWinCellEvent* cell = EventAs<TableWinCellEvent>(e);
    if (!cell)
        return false;
    function(static_cast<KTableWin*>(w), cell, cell->row, cell->col);
    return true;
}

void AddEventHandler(KTableWin* table, void (*f)(KTableWin*, TableWinCellEvent*, int, int))
{
    table->_addEventHandler(new TableWinCellEventProc(f));
}
