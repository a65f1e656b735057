// KDriveSelect: a combo box of the logical drives that reports the one picked.
#include "kcombo.h"

KDriveSelect::KDriveSelect(const KString& prompt) : KComboBox(prompt, -1, 10) {}

KDriveSelect* MakeDriveSelect(KWindow* parent, KArgList* args, const KString& prompt)
{
    auto* select = new KDriveSelect(prompt);
    select->init(parent, args);
    return select;
}

void KDriveSelect::init(KWindow* parent, KArgList* args)
{
    KComboBox::init(parent, args);
    _addEventHandler(new ComboBoxHandler<KDriveSelect>(this, 0, &KDriveSelect::comboBoxHandler));
    findDrives();
    // The roots read "C:\", so this selects nothing unless a drive is listed
    // under that exact text; applications choose the start drive themselves.
    selectString(L"c:", false);
}

void KDriveSelect::findDrives()
{
    wchar_t roots[1000] = {0};
    const DWORD n = GetLogicalDriveStringsW(1000, roots);
    drives.reserve(0, false);
    clear(false);
    if (n == 0 || n > 1000)
        return;
    // A run of 0-terminated roots, ended by an empty one.
    for (const wchar_t* root = roots; *root; root += wcslen(root) + 1) {
        addString(root, RGB(0, 0, 0), RGB(255, 255, 255));
        KDiskDrive drive;
        drive.root = root;
        drives.append(drive);
    }
}

KString KDriveSelect::getCurDrive()
{
    return curSel >= 0 && curSel < drives.count() ? drives[curSel].root : KString();
}

void KDriveSelect::deleteDrive(const wchar_t* root)
{
    const int i = findStringIns(root);
    if (i < 0)
        return;
    deleteString(i);
    setCurSel(i, false);
    drives.remove(i);
}

void KDriveSelect::comboBoxHandler(KWindow*, ComboBoxEvent* e)
{
    if (e->reason != 1)
        return;
    DriveSelectEvent chosen;
    chosen.window = this;
    chosen.select = this;
    chosen.drive = getCurDrive();
    callHandlers(&chosen);
}
