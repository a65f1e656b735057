// Combo boxes: prompt fields whose value is picked from a list of items that
// drops down below the box, and the two that fill their list themselves, the
// font field and the drive selector.
//
//     KArgList args;
//     args.add(WA_NUM_DISP_ROW, 8);                 // the open list shows 8 rows at most
//     KComboBox* unit = MakeComboBox(form, &args, L"Unit", 10);
//     unit->addString(L"Volt", RGB(0, 0, 0), RGB(255, 255, 255));
//     unit->addString(2, L"Ampere", RGB(0, 0, 0), RGB(255, 255, 255));  // user data 2
//     unit->setCurSel(0, false);                    // shown, nobody told
//     unit->_addEventHandler(new ComboBoxHandler<Panel>(this, 0, &Panel::unitChosen));
//
//     KFontPrompt* face = MakeFontPrompt(form, &none, L"Font", 20, "Arial");
//     KDriveSelect* drive = MakeDriveSelect(form, &none, L"Drive");
//     drive->_addEventHandler(new DriveSelectHandler<Panel>(this, &Panel::driveChosen));
//
// The list opens on a click of the box or Alt+Down and runs a message loop of
// its own until an item is taken (click, Enter) or it is dismissed (a press
// anywhere else, which then does nothing more, or the loss of the focus).
// Up and Down step through the items, with Shift to the first and the last.
// Attributes (after the prompt field's): WA_NUM_DISP_ROW, the rows the open
// list shows at most (20); WA_SORT sorts the list when the box takes the
// focus or drops its list down, by character code.
//
// Settled here: a quit message taken by the list's loop closes the list and
// is posted again, so that the loop around it ends as well.
#ifndef KORVEL_KCOMBO_H
#define KORVEL_KCOMBO_H

#include "kprompt.h"

class KComboBox;
class KDriveSelect;

struct KORVEL_API KComboItem {
    int data = -1;
    KString text;
    KString rightText;
    COLORREF foreground = RGB(0, 0, 0);
    COLORREF background = RGB(255, 255, 255);
};

// reason 1: the current item was set with notification; 7: the list is about
// to drop down (the items may still be changed).
class KORVEL_API ComboBoxEvent : public Event {
public:
    KComboBox* combo = nullptr;
    int reason = 0;
    ComboBoxEvent(KComboBox* c, int r);
};

// The borderless pop-up list of a combo box, a hidden top level while closed.
class KORVEL_API KDropDownList : public KWindow {
public:
    KDropDownList(KComboBox* combo, int curSel);
    ~KDropDownList() override;
    void init(KArgList* args);
    void setValues(KArgList* args) override;
    LRESULT defMsgHandler(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // Opens at (x, y) on the screen, width wide, curSel highlighted and in view.
    void showList(int x, int y, int width, int curSel);
    void hideList();
    // Moves the highlight as the combo's arrow keys move the selection.
    void arrowHandler(int direction, bool shift = false);
    // Takes the highlighted item, or none, and closes.
    void okHandler();
    void cancelHandler();
    // A close request (taskkill, a program closing every top level) only
    // dismisses the list: the combo box owns it and deletes it with itself.
    void closeHandler() override;

    bool isVisible() const { return shown; }
    int getCurSel() const { return curSel; }
    int getTopIndex() const { return topIndex; }
    int getShownRows() const { return shownRows; }
    int getLineHeight() const { return lineHeight; }

private:
    void exposeHandler(KWindow*, ExposeEvent*);
    void mouseHandler(KWindow*, MouseEvent* e);
    void focusHandler(KWindow*, KeyboardEvent* e);
    void highlight(int index);
    void invalidateRow(int index);
    void scrollTo(int position);
    void scrollLine(int code);
    LRESULT vscroll(int code);

    SCROLLINFO scrollInfo;
    HFONT font;
    int topIndex = 0;
    int shownRows = 0;
    int numDispRow = 10;
    int lineWidth = 0, lineHeight = 0;
    int curSel;
    KComboBox* combo;
    bool shown = false;
};

KORVEL_API KDropDownList* MakeDropDown(KComboBox* combo, KArgList* args, int curSel);

class KORVEL_API KComboBox : public KPromptBase {
public:
    KComboBox(const KString& prompt, int promptFW, int fieldWidth);
    ~KComboBox() override;
    void init(KWindow* parent, KArgList* args);
    void setValues(KArgList* args) override;
    bool altKeyHandler(int key) override;
    bool disableReturnHandler() override { return dropDown != nullptr; }
    void arrowHandler(int direction, bool shift) override;
    void gainFocusHandler() override;
    void loseFocusHandler() override;
    void mouseHandler(KWindow* w, MouseEvent* e) override;
    void returnHandler() override;

    // --- The items ---
    // Appends an item (user data -1 in the first form); returns its index.
    int addString(const wchar_t* text, unsigned long foreground, unsigned long background);
    int addString(int data, const wchar_t* text, unsigned long foreground, unsigned long background);
    // Inserts before index, 0 <= index <= count; other indexes change nothing.
    void insertString(int index, const wchar_t* text);
    void deleteString(int index);
    // Removes all items; with redraw the box is emptied at once.
    void clear(bool redraw);
    int getCount() const { return items.count(); }
    bool validIndex(int i) const { return i >= 0 && i < items.count(); }
    const KComboItem& item(int i) const { return items[i]; }
    int getCurSel() const { return curSel; }
    // The user data of the current item, -1 for none.
    int getCurItem();
    int getItemData(int index);
    void setItemData(int index, int data);
    void setItemColor(int index, unsigned long foreground, unsigned long background);
    KString getListString(int index);
    void setListString(int index, const wchar_t* text);
    void setRightString(int index, const wchar_t* text);

    // --- Selection: with notify the box is marked modified and reason 1 sent ---
    void setCurSel(int index, bool notify);
    // The first item with that user data; its index or -1.
    int setCurItem(int data, bool notify);
    // The first item whose text equals text exactly; its index or -1.
    int selectString(const wchar_t* text, bool notify);
    // The first item whose text begins with prefix (Ins: ignoring case), or
    // equals text (Exact); -1 for none.
    int findString(const wchar_t* prefix) const;
    int findStringIns(const wchar_t* prefix) const;
    int findStringExact(const wchar_t* text) const;

    // Sorts by text when WA_SORT asks for it and the order is not sorted yet.
    void sortList();
    bool isSorted() const { return sorted; }
    static long cmp_item(const KComboItem& a, const KComboItem& b);

    // --- The list ---
    // Opens the list and runs it until it closes; closes it when open.
    void dropDownList();
    // The list's verdict: the item taken, or -1 for none.
    void dropDownHandler(int index);
    KDropDownList* getDropDown() const { return dropDown; }
    int getNumDispRow() const { return numDispRow; }
    static bool isButtonDown(unsigned int msg);

protected:
    void drawArrow(bool pressed);

    KArray<KComboItem> items;
    KDropDownList* dropDown = nullptr;
    int curSel = -1;
    int numDispRow = 20;
    bool sorted = true;
};

KORVEL_API KComboBox* MakeComboBox(KWindow* parent, KArgList* args, const KString& prompt, int promptFW,
                                   int fieldWidth);
KORVEL_API KComboBox* MakeComboBox(KWindow* parent, KArgList* args, const KString& prompt, int fieldWidth);

// Lists the installed font families, sorted.
class KORVEL_API KFontPrompt : public KComboBox {
public:
    KFontPrompt(const KString& prompt, int promptFW, int fieldWidth, const char* fontName);
    void init(KWindow* parent, KArgList* args);
    const KString& getFontName() const { return fontName; }

private:
    static int CALLBACK addFamily(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM self);
    KString fontName;
};

KORVEL_API KFontPrompt* MakeFontPrompt(KWindow* parent, KArgList* args, const KString& prompt, int promptFW,
                                       int fieldWidth, const char* fontName);
KORVEL_API KFontPrompt* MakeFontPrompt(KWindow* parent, KArgList* args, const KString& prompt, int fieldWidth,
                                       const char* fontName);

struct KORVEL_API KDiskDrive {
    KString root; // such as "c:\"
};

// The drive picked in a drive selector, by its root.
class KORVEL_API DriveSelectEvent : public Event {
public:
    KDriveSelect* select = nullptr;
    KString drive;
};

template <class T>
class DriveSelectHandler : public MemberEventHandler<T, DriveSelectEvent> {
public:
    using MemberEventHandler<T, DriveSelectEvent>::MemberEventHandler;
};

// Lists the logical drives and reports the one picked.
class KORVEL_API KDriveSelect : public KComboBox {
public:
    explicit KDriveSelect(const KString& prompt);
    void init(KWindow* parent, KArgList* args);
    // Reads the drives again; nothing is selected afterwards.
    void findDrives();
    KString getCurDrive();
    // Removes the drive whose root begins with root, ignoring case.
    void deleteDrive(const wchar_t* root);

private:
    void comboBoxHandler(KWindow*, ComboBoxEvent* e);
    KArray<KDiskDrive> drives;
};

KORVEL_API KDriveSelect* MakeDriveSelect(KWindow* parent, KArgList* args, const KString& prompt);

#endif
