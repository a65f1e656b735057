// KTableWin: a spreadsheet-like window over data the application keeps. The
// table knows the number of rows, the columns and what is shown; every cell
// text is asked of the application when the cell is painted, so a table of
// ten million rows costs no more than one of ten.
//
//     KArgList args;
//     args.add(WA_SHOW_ENTRY, 6);                  // row numbers, 6 digits
//     args.add(WA_ALLOW_INSERT, 1);                // an empty row takes new entries
//     KTableWin* t = MakeTableWin(form, &args);
//     t->addCol("Depth\nmm", COL_FIELD_WIDTH, 8, COL_MODE, TABLE_EDIT);
//     t->addCol("Depth\nin", COL_FIELD_WIDTH, 8, COL_ALIGN, 2);
//     t->addCol("Zero", COL_BUTTON_LOOK, 1, COL_MODE, TABLE_BUTTON);
//     AddEventHandler(t, cellText);                // answers the cell requests
//     t->setNumRow(samples.count());
//
//     void cellText(KTableWin* t, TableWinCellEvent* e, int row, int col)
//     {
//         if (e->reason == 1)                      // the table asks
//             e->Set("%.3f", samples[row].depth(col));
//         else if (e->reason == 2)                 // an edited text comes back
//             samples[row].setDepth(col, e->text);
//     }
//
// Input, by the current column's mode:
// - TABLE_EDIT: a click or a navigation key opens the cell editor; every change
//   is handed back at once (reason 2). Tab, Enter and Right (at the text's
//   end) go to the next editable cell, wrapping to the next row and finally to
//   the insertion row; Left (at the text's start) goes back; Up, Down, Home
//   and Ctrl+End move between rows. Shift+Insert and Shift+Delete (or the keys
//   alone in a COL_ROW_KEYS column) ask for a row to be inserted (reason 3) or
//   deleted (reason 4); typing into the insertion row asks for a new row.
// - TABLE_SELECT: Up, Down, Home and Ctrl+End move the current row; clicks and
//   keys also arrive as TableWinKeyEvent and TableWinMouseEvent.
// - TABLE_DISPLAY: keys and clicks only arrive as events.
// - TABLE_BUTTON: a held press repeats its TableWinMouseEvent after 500 ms,
//   then every 30 ms; a held press on the header repeats TableWinTitleEvent.
// The wheel scrolls a row a notch, a page when notches come quickly. Titles that are equal on a header line
// in adjacent columns share one box: the two Depth columns above get one
// "Depth" box over two boxes "mm" and "in".
#ifndef KORVEL_KTABLEWIN_H
#define KORVEL_KTABLEWIN_H

#include "kwindow.h"

class KScrollBar;
class KTimer;
class KTableWin;
class KTableCellEditor;
class KPrintDC;
class KTablePrintArg;
struct KReportLayout;
class KDevContext;

// What a column does with input.
enum TableMode {
    TABLE_DISPLAY = 0, // shown; input only reported
    TABLE_SELECT = 1,  // rows are selected
    TABLE_EDIT = 2,    // cells are edited in place
    TABLE_BUTTON = 3   // a held press repeats like a spin button
};

// Keys of the column settings given to addCol and KTableCol::setArg. Keys of
// 13 and more are ignored (addCol's unused pairs carry COL_NONE).
enum ColArg {
    COL_FIELD_WIDTH = 0, COL_SPACING = 1, COL_ALIGN = 2, COL_BACKGROUND = 3,
    COL_FOREGROUND = 4, COL_MODE = 5, COL_FONT = 6, COL_SHADOW_STYLE = 7,
    COL_SHADOW_THICK = 8,
    COL_BUTTON_LOOK = 9,     // nonzero: button colours and a raised shadow
    COL_AUTO_HSCROLL = 10, COL_STRIP_SPACES = 11, COL_ROW_KEYS = 12,
    COL_NONE = 13
};

// One column: its title, look and mode, and its computed geometry.
class KORVEL_API KTableCol {
public:
    KString title;                  // '\n' separates header lines
    unsigned long foreground = (unsigned long)-1; // -1: not set
    unsigned long background = (unsigned long)-1;
    int spacing = 1;                // pixels between the previous column and this
    int charWidth = 0, charHeight = 0; // "A" in the column font
    int align = 1;                  // 0 centre, 1 left, 2 right
    int fieldWidth = 0;             // in characters
    int xLeft = 0;                  // left edge in pixels
    int width = 0;                  // in pixels
    TableMode mode = TABLE_DISPLAY;
    short shadowThick = 0;          // 0: a plain cell with grid lines
    short shadowStyle = 0;
    HFONT font;                     // DEFAULT_FIXED_FONT
    bool autoHScroll = false;       // the cell editor scrolls its text
    bool stripSpaces = true;        // texts handed back are stripped
    bool rowKeys = false;           // Insert and Delete work on rows without Shift

    KTableCol();
    void setArg(ColArg key, int value);
    int left() const { return xLeft; }
    int right() const { return xLeft + width; }
    bool operator==(const KTableCol& o) const;
    bool operator!=(const KTableCol& o) const { return !(*this == o); }
};

// One box of the column header, spanning header lines row .. lastRow and
// columns col .. lastCol.
class KORVEL_API KTitleBox {
public:
    KString text;
    DCRect rect = {0, 0, 0, 0};
    bool marked = false;
    short shadowThick = 1;
    short shadowStyle = 5;
    int row = 0, lastRow = 0, col = 0, lastCol = 0;

    KTitleBox() = default;
    KTitleBox(int row, int col);
    // The shadow (when thick) and the text centred in rect.
    void draw(KWindow* w, KWinDC& dc);
};

// The record through which cell texts travel between table and application.
// reason (the type field): 1 the table asks for a cell's text, 2 a text is
// handed back, 3 a row is to be inserted before row, 4 row is to be deleted.
class KORVEL_API TableWinCellEvent : public Event {
public:
    int row, col;
    unsigned long foreground = 0;
    unsigned long background = 0xFFFFFF;
    short shadowThick = 0;
    short shadowStyle = 5;
    KString text;
    unsigned long& reason = type;

    TableWinCellEvent(int reason, int row, int col);
    // A text handed back (reason 2), stripped of surrounding spaces when strip.
    TableWinCellEvent(const KString& text, int row, int col, bool strip);
    TableWinCellEvent(const TableWinCellEvent& o);
    TableWinCellEvent& operator=(const TableWinCellEvent& o);
    // Answers a request with a formatted text (the library's format language).
    void Set(const char* format, ...);
    void Set(unsigned long foreground, unsigned long background, const char* format, ...);
};

// A keyboard event on the cell window while the current column displays or
// selects; key lives only during the delivery.
class KORVEL_API TableWinKeyEvent : public Event {
public:
    int row, col;
    KeyboardEvent* key;
    TableWinKeyEvent(KeyboardEvent* key, int row, int col);
};

// A mouse event on a cell; mode is the column's.
class KORVEL_API TableWinMouseEvent : public Event {
public:
    TableMode mode;
    int row, col;
    MouseEvent* mouse;
    TableWinMouseEvent(KTableWin* table, MouseEvent* mouse, int row, int col);
};

// A mouse event over a header column.
class KORVEL_API TableWinTitleEvent : public Event {
public:
    TableMode mode;
    int col;
    MouseEvent* mouse;
    TableWinTitleEvent(KTableWin* table, MouseEvent* mouse, int col);
};

// Calls a function for the table's cell events (exactly TableWinCellEvent).
class KORVEL_API TableWinCellEventProc : public EventHandler {
public:
    typedef void (*Function)(KTableWin*, TableWinCellEvent*, int row, int col);
    explicit TableWinCellEventProc(Function f) : function(f) {}
    bool callHandler(KWindow* w, Event* e) override;
private:
    Function function;
};

KORVEL_API void AddEventHandler(KTableWin* table,
                                void (*f)(KTableWin*, TableWinCellEvent*, int, int));

// Member handlers of the table's own events, for application classes.
template <class T>
class TableCellHandler : public MemberEventHandler<T, TableWinCellEvent> {
public:
    using MemberEventHandler<T, TableWinCellEvent>::MemberEventHandler;
};
template <class T>
class TableKeyHandler : public MemberEventHandler<T, TableWinKeyEvent> {
public:
    using MemberEventHandler<T, TableWinKeyEvent>::MemberEventHandler;
};
template <class T>
class TableMouseHandler : public MemberEventHandler<T, TableWinMouseEvent> {
public:
    using MemberEventHandler<T, TableWinMouseEvent>::MemberEventHandler;
};
template <class T>
class TableTitleHandler : public MemberEventHandler<T, TableWinTitleEvent> {
public:
    using MemberEventHandler<T, TableWinTitleEvent>::MemberEventHandler;
};

// Attributes: WA_FONT, WA_HORIZONTAL_SCROLLBAR, WA_VERTICAL_SCROLLBAR,
// WA_SHOW_ENTRY (digits of the row-number column, at least 5), WA_ENTRY_BASE
// (number of row 0), WA_CELL_HEIGHT (0: "A" plus margins), WA_MARGIN_HEIGHT,
// WA_TITLE_SHADOW_THICK, WA_TITLE_DOUBLE_CLICKS, WA_LINE_COLOR, WA_TABLE_MODE
// and WA_COL_ALIGN (for columns added afterwards), WA_HIGHLIGHT_SELECT,
// WA_ALLOW_INSERT, WA_NUM_DISP_ROW, WA_NUM_DISP_COL.
class KORVEL_API KTableWin : public KWindow {
public:
    ~KTableWin() override;
    void enableDoubleClicks(bool on) override;
    // Focus to the open editor, else to the cell window.
    void setFocus() override;
    // Lays out the header, cells, row numbers and bars in the client area.
    void configure(bool force) override;
    void setValues(KArgList* args) override;

    // --- Columns and header ---
    // Appends a column; the pairs are applied in order. Returns its index.
    int addCol(const KString& title, ColArg a1 = COL_NONE, int v1 = 0,
               ColArg a2 = COL_NONE, int v2 = 0, ColArg a3 = COL_NONE, int v3 = 0,
               ColArg a4 = COL_NONE, int v4 = 0, ColArg a5 = COL_NONE, int v5 = 0,
               ColArg a6 = COL_NONE, int v6 = 0, ColArg a7 = COL_NONE, int v7 = 0);
    void clearCols();
    // Recomputes the header boxes and the columns' pixel geometry.
    void configCols();
    void setTitle(int col, const KString& title, bool redraw);
    KString fieldTitle(int col) const;
    int fieldWidth(int col) const;
    // Takes effect at the next configCols.
    void setFieldWidth(int col, int chars);
    int getColWidth(int col) const;
    TableMode getMode(int col) const;
    // lastCol -1: up to the last column.
    void setMode(TableMode mode, int firstCol, int lastCol = -1);
    void markNumDispCol() { numDispCol = columns.count(); }
    int numCol() const { return columns.count(); }
    int numTitleRow() const { return titleRows; }
    int numTitleBox() const { return titleBoxes.count(); }
    KTitleBox& getTitleBox(int i) { return titleBoxes[i]; }
    const KTableCol& getCol(int i) const { return columns[i]; }
    void setDefaultForeground(unsigned long c) { defaultForeground = c; }
    void setDefaultBackground(unsigned long c) { defaultBackground = c; }
    // Draws the current-row frame; widens the rows' margins to 3.
    void enableSelectRect(bool on);
    // One step of header grouping over header line r and columns first..last.
    void groupCells(KArray<KArray<KString>>& lines, KArray<KArray<int>>& ids,
                    int r, int first, int last);

    // --- Rows, cells and display ---
    void setNumRow(int n);
    // n != -1 sets the row count; repaints the cells and row numbers at once.
    void update(int n = -1);
    int numRow() const { return rowCount; }
    int firstRow() const { return topRow; }
    int curRow() const { return currentRow; }
    int curCol() const { return currentCol; }
    int prevRow() const { return previousRow; }
    int prevCol() const { return previousCol; }
    int getNumDispRow() const { return numDispRow; }
    int getCellHeight() const { return cellHeight; }
    int getTitleHeight() const { return titleHeight; }
    int getEntryWidth() const { return entryWidth; }
    int getHorzOffset() const { return horzOffset; }
    bool isValidRow(int r) const { return r >= 0 && r < rowCount; }
    bool isValidCol(int c) const { return c >= 0 && c < columns.count(); }
    bool isValidCell(int r, int c) const { return isValidRow(r) && isValidCol(c); }
    // One past the last row drawn (the insertion row counts).
    int getLastDrawRow() const;
    // Asks the handlers for a cell's text; empty when nobody answers.
    KString getCellString(int row, int col);
    // Hands a text back (reason 2), stripped as the column says.
    void setCellString(int row, int col, const KString& text);
    // Marks the table modified and hands the text back for the current cell.
    void notifyChange(const KString& text);
    // In cell-window coordinates before horizontal scrolling.
    DCRect getCellRect(int row, int col) const;
    void pointToCell(KPOINT p, int& row, int& col) const;
    // The character position of x in a column; -1 for an invalid column.
    int XtoCellCol(int col, int x) const;
    void setFirstRow(int r);
    void assureCellVisible(int row, int col);
    void assureRowVisible(int row) { assureCellVisible(row, currentCol); }
    void assureLastRowVisible() { assureCellVisible(rowCount - 1, currentCol); }
    void assurePointVisible(const KPOINT& p);
    void setCurRow(int row, bool show);
    // Scrolls so that row lies at most half a page down and makes it current.
    void setCurCenterRow(int row);
    void setCurCell(int row, int col);
    void clearCurRow() { currentRow = -1; }
    void clearSelection(bool redraw);
    void draw();
    void drawRow(int row);
    void drawCol(int col);
    void drawCell(int row, int col);
    void drawTitle(bool clear);
    void drawEntryTitle();
    void drawEntryWin(int y0, int y1);
    void paintCells(const KRECT& r);
    void paintCell(KWinDC& dc, KRECT clip, int row, int col);
    void setBackground(const KWinDC& dc, int row, int col, unsigned long colour);
    void drawShadow(int row, int col, short style);
    void setHelpText(const wchar_t* text);
    KWindow* cellWin() const { return cellWindow; }
    KWindow* titleWin() const { return titleWindow; }
    KWindow* entryWin() const { return entryWindow; }
    KScrollBar* vertBar() const { return vertScrollBar; }
    KScrollBar* horzBar() const { return horzScrollBar; }
    KTableCellEditor* getEditor() const { return editor; }
    // Prints the table as a report (ktableprint.h), one document per copy
    // that dc asks for, with the time macros of arg stamped once.
    void print(KPrintDC& dc, KTablePrintArg& arg);
    // The report's geometry on p, which must be in a document: the sections
    // measured, the pages counted, the body font left selected on p.
    void reportLayout(KPrintDC& p, KTablePrintArg& arg, KReportLayout& layout);
    // Page `page` (from 0) of the report drawn onto target at scale, laid out
    // for p (in a document): a preview draws into a memory context of the
    // page at screen scale. Pages out of range draw nothing.
    void printPage(KPrintDC& p, KTablePrintArg& arg, int page, KDevContext& target, double scale);

    // --- Editing ---
    // Moves the current cell to (row, col) and opens an editor on it.
    void setEditCell(int row, int col);
    // The first editable column of row (0 .. numRow, the insertion row).
    void setEditRow(int row);
    // The editor to the next editable column in direction step, wrapping rows.
    void incEditCol(int step);
    void deleteCellEditor();
    // On the insertion row: asks for a new row and forwards msg to its editor.
    bool autoInsertRow(unsigned msg, unsigned wParam, long lParam);

    // The repeat of a held press, shared by all tables; the press repeated
    // refers to a window while a repeat runs.
    static KTimer* repeatTimer();
    static MouseEvent rep_event;

protected:
    KTableWin();
    void init(KWindow* parent, KArgList* args);
    friend KORVEL_API KTableWin* MakeTableWin(KWindow* parent, KArgList* args);

    // Input on the child windows and the table window itself.
    void keyboardHandler(KWindow* w, KeyboardEvent* e);
    void cellMouseHandler(KWindow* w, MouseEvent* e);
    void titleMouseHandler(KWindow* w, MouseEvent* e);
    void mouseHandler(KWindow* w, MouseEvent* e);
    void cellTimerHandler();
    void titleTimerHandler();
    void exposeHandler(KWindow* w, ExposeEvent* e);
    void resizeHandler(KWindow* w, ResizeEvent* e);
    void scrollHandler(KScrollBar* bar, ScrollBarEvent* e);
    void setVertBarLimits();
    // Asks the application to insert (reason 3) or delete (reason 4) a row
    // and adjusts the row count; deleting the last row moves the current row up.
    void insertRow(int row, int col);
    void deleteRow(int row, int col);
    // Deletes the current row, or beeps when there is none; true when deleted.
    bool deleteCurrentRow();
    void selectMove(int row, KeyboardEvent* e);
    int firstEditCol() const;
    // Key downs in an editing and in a selecting column; taken: a handler
    // took the TableWinKeyEvent.
    void editKey(KeyboardEvent* e);
    void selectKey(KeyboardEvent* e, bool taken);
    // Mouse events on a cell of an editing and of a button column.
    void editMouse(MouseEvent* e, int row, int col);
    void buttonMouse(MouseEvent* e, int row, int col);
    // One row a notch, a page a notch when notches come faster than 0.04 s.
    void wheelScroll(MouseEvent* e);
    // Starts repeating the press e: tick after repeatDelay, then every repeatRate.
    void startRepeat(MouseEvent* e, void (KTableWin::*tick)());
    void stopRepeat();
    // Keeps the open editor over its cell when the cells scroll.
    void placeEditor();
    // An editor deleted with its parent window clears the table's pointer to it.
    friend class KTableCellEditor;
    // Header layout: the boxes from the grouped ids, the columns' pixels.
    void makeTitleBoxes(KArray<KArray<KString>>& lines, KArray<KArray<int>>& ids);
    void measureCols();
    // The editor's black frame or the current row's frame.
    void paintFocusFrame(KWinDC& dc);
    // Grid lines in lineColor round a plain cell.
    void drawGrid(KWinDC& dc, const DCRect& cell);
    // Makes v the first row shown, shifting what stays visible.
    void scrollToRow(int v);
    // One copy of the report as one document.
    void printCopy(KPrintDC& p, KTablePrintArg& arg);
    // Whether p's page choice (or arg's pageMode) leaves page out.
    bool skipPage(KPrintDC& p, const KTablePrintArg& arg, const KReportLayout& layout, int page) const;
    void drawReportPage(KPrintDC& p, KTablePrintArg& arg, const KReportLayout& layout, int page,
                        KDevContext& target, double scale);
    // The header boxes and their frame; the rows of a page from y on.
    void drawReportHeader(KPrintDC& p, const KTablePrintArg& arg, const KReportLayout& layout, int yH,
                          KDevContext& target, double scale);
    // Fills a cell request with the window and its column's colours.
    void prepareCellRequest(TableWinCellEvent& e);
    int drawReportRows(const KTablePrintArg& arg, const KReportLayout& layout, int page, int y,
                       KDevContext& target, double scale);

    bool configuring = false;
    KTableCellEditor* editor = nullptr;
    HFONT font;
    KWindow* entryTitleWin = nullptr;
    KWindow* entryWindow = nullptr;
    KWindow* titleWindow = nullptr;
    KWindow* cellWindow = nullptr;
    KScrollBar* horzScrollBar = nullptr;
    KScrollBar* vertScrollBar = nullptr;
    int horzBarHeight = 0;  // wanted (1) before init, then the height
    int vertBarWidth = 1;
    int entryWidth = 0;
    int entryCharWidth = 0;
    int showEntry = 0;
    int entryBase = 1;
    int titleHeight = 0;
    int totalWidth = 0;
    int cellAreaHeight = 0;
    int cellHeight = 0;
    int horzOffset = 0;
    int titleShadowThick = 1;
    bool titleDoubleClicks = false;
    bool showGrid = true;
    unsigned long defaultForeground = 0;
    unsigned long defaultBackground = 0xFFFFFF;
    unsigned long lineColor;
    TableMode tableMode = TABLE_DISPLAY;
    int colAlign = 1;
    bool highlightSelect = false;
    unsigned long highlightColor = 255;
    int highlightHalfWidth = 1;
    bool allowInsert = false;
    int repeatDelay = 500, repeatRate = 30;
    int topRow = 0;
    int cellMargin = 2;
    int rowCount = 0;
    int numDispRow = 20;
    int numDispCol = 0;
    int titleRows = 1;
    int previousRow = -1, previousCol = -1, currentRow = -1, currentCol = -1;
    double lastWheel = 0;   // get_time() of the previous wheel event
    KArray<KTitleBox> titleBoxes;
    KArray<KTableCol> columns;
};

KORVEL_API KTableWin* MakeTableWin(KWindow* parent, KArgList* args);

// The in-place editor of a TABLE_EDIT cell: a child of the cell window over
// the current cell holding an EDIT control. Every change is handed to the
// table at once (reason 2); it ends when it loses the focus.
// Attributes: WA_ADD_WINDOWS_STYLE adds bits to the control's style.
class KORVEL_API KTableCellEditor : public KWindow {
public:
    ~KTableCellEditor() override;
    void setIsModified(bool on) override;
    bool getIsModified() const override;
    // Focus to the control with the whole text selected.
    void setFocus() override;
    void setValues(KArgList* args) override;
    // Hands each EN_CHANGE's text to the table.
    void menuHandler(unsigned int id, unsigned int code) override;

    KString getText() const;
    int getTextLength() const;
    void setText(const KString& text, bool modified);
    void replaceText(const KString& text);
    void _setText(const KString& text, unsigned msg, unsigned wParam, bool modified);
    void getSel(int* start, int* end) const;
    void setTabStop(int n);
    LRESULT sendMessage(unsigned msg, unsigned wParam, long lParam) const;
    void deleteCellEditor();
    HWND getControl() const { return control; }
    KTableWin* getTable() const { return table; }

    // The control's replacement window procedure.
    static LRESULT CALLBACK wndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

protected:
    explicit KTableCellEditor(KTableWin* table);
    friend KORVEL_API KTableCellEditor* MakeTableCellEditor(KWindow* parent, KTableWin* table,
                                                           KArgList* args);
    virtual void createControl();
    void resizeHandler(KWindow* w, ResizeEvent* e);
    LRESULT controlMessage(UINT msg, WPARAM wParam, LPARAM lParam);

    KTableWin* table;
    HWND control = nullptr;
    unsigned long style = WS_CHILD | WS_BORDER;
    WNDPROC oldProc = nullptr;
    bool creating = false;
};

KORVEL_API KTableCellEditor* MakeTableCellEditor(KWindow* parent, KTableWin* table,
                                                 KArgList* args);

#endif
