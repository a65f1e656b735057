// KWindow: the window's saved position, size and tab, kept per user under
// "Software\Tarnwell\Windows\<program>\<window class>".
#include "kwindow.h"
#include "kgraphics.h"
#include "kregistry.h"

static const wchar_t DIALOG_RECT[] = L"Dialog Rect";

KString KWindow::getModuleSubkey()
{
    wchar_t path[MAX_PATH] = {0};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    KString base(path);
    int slash = base.findLast(L'\\');
    if (slash >= 0)
        base = base(slash + 1, -1);
    int dot = base.findLast(L'.');
    if (dot >= 0)
        base.trunc(dot);
    // The class name is the run-time type name after its first blank.
    KString cls = className();
    int blank = cls.findChar(L' ');
    if (blank >= 0)
        cls = cls(blank + 1, -1);
    KString key;
    key.set("%U\\%U\\%s", TARNWELL_WINDOWS_SUBKEY, (const wchar_t*)base, (const char*)cls);
    return key;
}

bool KWindow::loadRegistry(WindowRegistryInfo* info)
{
    try {
        KRegistry reg;
        reg.openKey(HKEY_CURRENT_USER, getModuleSubkey(), KEY_READ);
        reg.loadValue(DIALOG_RECT, info, sizeof(*info));
        POINT pt = {info->x, info->y};
        if (!MonitorFromPoint(pt, MONITOR_DEFAULTTONULL))
            info->x = info->y = 0;
        return true;
    } catch (const KorvelException& e) {
        // Nothing saved yet is not worth a message.
        if (e.number != ERROR_FILE_NOT_FOUND)
            e.popupMessage(ERRCODE(1, 1023), "Could not load window options.");
        return false;
    }
}

bool KWindow::loadRegistry()
{
    WindowRegistryInfo info;
    if (!loadRegistry(&info))
        return false;
    initialTab = info.tab;
    winX = info.x;
    winY = info.y;
    return true;
}

bool KWindow::storeRegistry()
{
    WindowRegistryInfo info;
    info.version = 1;
    info.x = winX;
    info.y = winY;
    info.width = winWidth;
    info.height = winHeight;
    info.tab = getInitialTab();
    try {
        KRegistry reg;
        reg.createKey(HKEY_CURRENT_USER, getModuleSubkey());
        reg.storeValue(DIALOG_RECT, &info, sizeof(info));
        return true;
    } catch (const KorvelException& e) {
        e.popupMessage(ERRCODE(1, 1024), "Could not store window options.");
        return false;
    }
}

// Takes position and size from the saved record where they lie on the screen;
// values outside it leave the attributes of the list.
void KWindow::applySavedOptions()
{
    WindowRegistryInfo info;
    if (!loadRegistry(&info))
        return;
    if (useRegistryPos) {
        if (info.x >= 0 && info.x <= ScreenWidth())
            winX = info.x;
        if (info.y >= 0 && info.y < ScreenHeight())
            winY = info.y;
    }
    if (useRegistrySize) {
        if (info.width > 0 && info.width <= ScreenWidth())
            winWidth = info.width;
        if (info.height > 0 && info.height <= ScreenHeight())
            winHeight = info.height;
    }
}
