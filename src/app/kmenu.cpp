// Menus and accelerators from command lists; look-ups and edits by label and
// by command id.
#include "kmenu.h"
#include "kwindow.h"
#include "kmemory.h"
#include <wchar.h>
#include <wctype.h>
#include <string.h>

namespace {

const int LABEL_SIZE = 512;

struct KeyName {
    const wchar_t* name;
    WORD key;
};

const KeyName KEY_NAMES[] = {
    {L"F1", VK_F1}, {L"F2", VK_F2}, {L"F3", VK_F3}, {L"F4", VK_F4}, {L"F5", VK_F5},
    {L"F6", VK_F6}, {L"F7", VK_F7}, {L"F8", VK_F8}, {L"F9", VK_F9}, {L"F10", VK_F10},
    {L"F11", VK_F11}, {L"F12", VK_F12}, {L"Left", VK_LEFT}, {L"Right", VK_RIGHT},
    {L"Up", VK_UP}, {L"Down", VK_DOWN}, {L"PgUp", VK_PRIOR}, {L"Page Up", VK_PRIOR},
    {L"PgDn", VK_NEXT}, {L"Page Down", VK_NEXT}, {L"Home", VK_HOME}, {L"End", VK_END},
    {L"Space", VK_SPACE}, {L"Esc", VK_ESCAPE},
};

const struct {
    const wchar_t* name;
    BYTE flag;
} MODIFIERS[] = {{L"Alt", FALT}, {L"Shift", FSHIFT}, {L"Ctrl", FCONTROL}};

// One "+"-separated token of an accelerator text.
void ApplyToken(const wchar_t* token, ACCEL* a)
{
    for (const auto& m : MODIFIERS)
        if (wcscmp(token, m.name) == 0)
            a->fVirt |= m.flag;
    // A lone printable character is a character key: upper case after a
    // modifier (Ctrl+S is the S key), as written when it stands alone.
    if (token[0] && !token[1] && iswprint(token[0])) {
        a->key = (WORD)(a->fVirt ? towupper(token[0]) : towlower(token[0]));
        return;
    }
    a->fVirt |= FVIRTKEY;
    for (const KeyName& k : KEY_NAMES)
        if (wcscmp(token, k.name) == 0)
            a->key = k.key;
}

// The accelerator written after the tab of an item text; false without a tab.
bool ParseAccelerator(const wchar_t* itemText, int id, ACCEL* a)
{
    const wchar_t* tab = wcschr(itemText, L'\t');
    if (!tab)
        return false;
    *a = ACCEL{0, 0, (WORD)id};
    const wchar_t* text = tab + 1;
    if (wcscmp(text, L"+") == 0) {
        a->key = L'+';
        return true;
    }
    wchar_t token[LABEL_SIZE];
    while (*text) {
        const wchar_t* end = wcschr(text, L'+');
        size_t n = end ? (size_t)(end - text) : wcslen(text);
        if (n > 0 && n < LABEL_SIZE) {
            wmemcpy(token, text, n);
            token[n] = 0;
            ApplyToken(token, a);
        }
        text += n + (end ? 1 : 0);
    }
    return true;
}

// Reads the next command of a menu description; its values were passed
// through "...", so as ints.
menu_command NextCommand(va_list& args)
{
    return (menu_command)va_arg(args, int);
}

// Up to the first tab, without the "&" marks.
KString CleanLabel(const wchar_t* raw)
{
    KString clean;
    for (const wchar_t* c = raw; *c && *c != L'\t'; ++c)
        if (*c != L'&')
            clean += *c;
    return clean;
}

void RawLabel(HMENU menu, int position, wchar_t* text)
{
    text[0] = 0;
    ::GetMenuStringW(menu, (UINT)position, text, LABEL_SIZE, MF_BYPOSITION);
    text[LABEL_SIZE - 1] = 0;
}

void RedrawMenuBarOf(KWindow* w)
{
    DrawMenuBar(w->getWindow());
}

} // namespace

HMENU MakeMenu(HACCEL& accel, menu_command first, ...)
{
    HMENU bar = CreateMenu();
    KArray<ACCEL> accels;
    va_list args;
    va_start(args, first);
    for (menu_command cmd = first; cmd != MENU_END; cmd = NextCommand(args)) {
        if (cmd == MENU_POPUP)
            MakePopup(bar, accels, args);
        else if (cmd == MENU_ITEM)
            MakeMenuItem(bar, accels, args);
        else
            Fatal("menu", 352, "Bad menu_command=%d", (int)cmd);
    }
    va_end(args);
    if (accels.count() > 0)
        accel = CreateAcceleratorTableW(accels.begin(), accels.count());
    return bar;
}

void MakePopup(HMENU menu, KArray<ACCEL>& accels, va_list& args)
{
    const wchar_t* title = va_arg(args, const wchar_t*);
    HMENU popup = CreatePopupMenu();
    for (menu_command cmd = NextCommand(args); cmd != MENU_POPUP_END; cmd = NextCommand(args)) {
        if (cmd == MENU_ITEM)
            MakeMenuItem(popup, accels, args);
        else if (cmd == MENU_SEPARATOR)
            AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
        else if (cmd == MENU_POPUP)
            MakePopup(popup, accels, args);
        else
            Fatal("menu", 328, "Unknown case cmd=%d", (int)cmd);
    }
    AppendMenuW(menu, MF_POPUP, (UINT_PTR)popup, title);
}

void MakeMenuItem(HMENU menu, KArray<ACCEL>& accels, va_list& args)
{
    const wchar_t* text = va_arg(args, const wchar_t*);
    const int id = va_arg(args, int);
    ACCEL a;
    if (ParseAccelerator(text, id, &a))
        accels.append(a);
    AppendMenuItem(menu, text, id);
}

void AppendMenuItem(HMENU menu, const wchar_t* text, int id)
{
    AppendMenuW(menu, MF_STRING, (UINT_PTR)id, text);
}

KString GetMenuStringW(HMENU menu, unsigned item, unsigned flags)
{
    wchar_t raw[LABEL_SIZE] = {0};
    ::GetMenuStringW(menu, item, raw, LABEL_SIZE, flags);
    raw[LABEL_SIZE - 1] = 0;
    return CleanLabel(raw);
}

HMENU FindSubMenu(HMENU menu, const wchar_t* label, int* position, wchar_t* text)
{
    if (!menu)
        return nullptr;
    const int n = GetMenuItemCount(menu);
    wchar_t raw[LABEL_SIZE];
    for (int i = 0; i < n; ++i) {
        RawLabel(menu, i, raw);
        if (CleanLabel(raw) != label)
            continue;
        if (position)
            *position = i;
        if (text)
            wcscpy(text, raw);
        return menu;
    }
    for (int i = 0; i < n; ++i) {
        HMENU sub = GetSubMenu(menu, i);
        if (!sub)
            continue;
        if (HMENU found = FindSubMenu(sub, label, position, text))
            return found;
    }
    return nullptr;
}

bool FindPos(HMENU menu, int id, HMENU* found, int* position)
{
    if (!menu)
        return false;
    const int n = GetMenuItemCount(menu);
    for (int i = 0; i < n; ++i) {
        if (HMENU sub = GetSubMenu(menu, i)) {
            if (FindPos(sub, id, found, position))
                return true;
            continue;
        }
        if ((int)GetMenuItemID(menu, i) != id)
            continue;
        *found = menu;
        *position = i;
        return true;
    }
    return false;
}

bool IsMenuItemChecked(HMENU menu, int id)
{
    const UINT state = GetMenuState(menu, (UINT)id, MF_BYCOMMAND);
    return state != (UINT)-1 && (state & MF_CHECKED) != 0;
}

void EnableMenu(HMENU menu, bool enable)
{
    if (!menu)
        return;
    const UINT flags = MF_BYPOSITION | (enable ? MF_ENABLED : MF_GRAYED | MF_DISABLED);
    const int n = GetMenuItemCount(menu);
    for (int i = 0; i < n; ++i)
        EnableMenuItem(menu, (UINT)i, flags);
}

int EnableMenu(HMENU menu, const wchar_t* label, unsigned flags)
{
    int position;
    HMENU holder = FindSubMenu(menu, label, &position);
    if (!holder)
        return 0;
    EnableMenuItem(holder, (UINT)position, flags | MF_BYPOSITION);
    return 1;
}

void EnableMainMenu(HWND window, bool enable)
{
    HWND root = window;
    for (HWND up = GetParent(root); up; up = GetParent(up))
        root = up;
    EnableMenu(GetMenu(root), enable);
    DrawMenuBar(root);
}

bool ToggleMenuItemCheck(KWindow* w, int id)
{
    HMENU menu = GetMenu(w->getWindow());
    if (!menu)
        return false;
    const bool checked = !IsMenuItemChecked(menu, id);
    CheckMenuItem(menu, (UINT)id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
    RedrawMenuBarOf(w);
    return checked;
}

int ReplaceMenu(KWindow* w, HMENU menu, const wchar_t* label, HMENU newPopup)
{
    int position;
    wchar_t raw[LABEL_SIZE];
    HMENU holder = FindSubMenu(menu, label, &position, raw);
    if (!holder)
        return 0;
    ModifyMenuW(holder, (UINT)position, MF_BYPOSITION | MF_POPUP, (UINT_PTR)newPopup, raw);
    RedrawMenuBarOf(w);
    return 1;
}

// The menu a context menu shows: its first popup, or the menu itself.
static HMENU TrackedMenu(HMENU menu)
{
    HMENU first = GetSubMenu(menu, 0);
    return first ? first : menu;
}

void PopupMenu(HMENU menu, KPOINT p, KWindow* owner, const KWindow* origin)
{
    POINT pt = {p.x, p.y};
    ClientToScreen(origin->getWindow(), &pt);
    TrackPopupMenu(TrackedMenu(menu), 0, pt.x, pt.y, 0, owner->getWindow(), nullptr);
}

int PopupMenuEx(HMENU menu, KPOINT p, KWindow* owner)
{
    POINT pt = {p.x, p.y};
    ClientToScreen(owner->getWindow(), &pt);
    return (int)TrackPopupMenuEx(TrackedMenu(menu), TPM_RETURNCMD | TPM_NONOTIFY, pt.x, pt.y,
                                 owner->getWindow(), nullptr);
}
