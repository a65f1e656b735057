// Menus and accelerators built from one list of commands, and look-ups and
// edits of menu items by their visible label or command id.
//
//     HMENU bar = MakeMenu(accel,
//         MENU_POPUP, L"&File",
//             MENU_ITEM, L"&Open ...\tCtrl+O", ID_OPEN,
//             MENU_SEPARATOR,
//             MENU_ITEM, L"&Quit\tCtrl+Shift+Q", ID_QUIT,
//         MENU_POPUP_END,
//         MENU_END);
//
// The text after an item's tab is its accelerator, written as Windows shows it
// (Ctrl+S, Shift+F3, Alt+Left, a lone character); the items keep the text,
// which Windows shows right-aligned. Keys: F1 to F12, Left, Right, Up, Down,
// PgUp (Page Up), PgDn (Page Down), Home, End, Space, Esc and printable
// characters. A window gives its menu bar and accelerators in its makeMenu
// override; KAppClass::run translates the main window's accelerators.
//
// Labels are compared exactly and with case, after cleaning: every "&" is
// dropped and the text ends at the first tab ("&Open ...\tCtrl+O" is found
// as "Open ...").
#ifndef KORVEL_KMENU_H
#define KORVEL_KMENU_H

#include <windows.h>
#include <stdarg.h>
#include "kexport.h"
#include "kstring.h"
#include "kgeometry.h"
#include "array"

class KWindow;

enum menu_command {
    MENU_END = 0,       // ends the whole description
    MENU_POPUP = 1,     // title, then the popup's commands up to MENU_POPUP_END
    MENU_ITEM = 2,      // item text, command id (int)
    MENU_SEPARATOR = 3,
    MENU_POPUP_END = 4  // ends the innermost popup
};

// --- Building ---
// Builds a menu bar from the commands up to MENU_END. When any item has an
// accelerator, accel receives a new table (owned by the caller, or by the
// window whose makeMenu returns it); otherwise accel is not written. A
// command value out of place stops the program (a programming error).
KORVEL_API HMENU MakeMenu(HACCEL& accel, menu_command first, ...);
// The two steps of MakeMenu: a popup (title, commands, MENU_POPUP_END) and an
// item (text, id), read from args and appended to menu.
KORVEL_API void MakePopup(HMENU menu, KArray<ACCEL>& accels, va_list& args);
KORVEL_API void MakeMenuItem(HMENU menu, KArray<ACCEL>& accels, va_list& args);
KORVEL_API void AppendMenuItem(HMENU menu, const wchar_t* text, int id);

// --- Looking up ---
// The cleaned label of an item (flags MF_BYPOSITION or MF_BYCOMMAND).
KORVEL_API KString GetMenuStringW(HMENU menu, unsigned item, unsigned flags);
// The menu holding the item with this cleaned label, and its position there:
// the items of menu first, then its popups depth-first. text, when given,
// receives the raw label (at most 512 characters with the terminator). Null
// when nothing matches.
KORVEL_API HMENU FindSubMenu(HMENU menu, const wchar_t* label, int* position, wchar_t* text = nullptr);
// Depth-first by command id; true with the holding menu and the position.
KORVEL_API bool FindPos(HMENU menu, int id, HMENU* found, int* position);
KORVEL_API bool IsMenuItemChecked(HMENU menu, int id);

// --- Changing ---
// Enables every item of menu, or greys and disables them.
KORVEL_API void EnableMenu(HMENU menu, bool enable);
// EnableMenuItem with flags on the item found by label; 1 when found, else 0.
KORVEL_API int EnableMenu(HMENU menu, const wchar_t* label, unsigned flags);
// EnableMenu on the menu bar of the outermost window above window.
KORVEL_API void EnableMainMenu(HWND window, bool enable);
// Flips the check mark of item id in w's menu bar; the new state, false when
// w has no menu.
KORVEL_API bool ToggleMenuItemCheck(KWindow* w, int id);
// Turns the item found by label into a popup holding newPopup, keeping its
// label; 1 when found, else 0.
KORVEL_API int ReplaceMenu(KWindow* w, HMENU menu, const wchar_t* label, HMENU newPopup);

// --- Context menus ---
// Tracks the first popup of menu (or menu itself when it has none) at p, in
// origin's client coordinates; the chosen command goes to owner as WM_COMMAND.
KORVEL_API void PopupMenu(HMENU menu, KPOINT p, KWindow* owner, const KWindow* origin);
// The same at p in owner's client coordinates, but returns the chosen command
// id (0 when dismissed) and sends no menu message.
KORVEL_API int PopupMenuEx(HMENU menu, KPOINT p, KWindow* owner);

#endif
