// KColorDlg: the Windows colour dialog over the custom colours of CustColorOpt.
#include "kcolordlg.h"
#include "kwindow.h"

KColorDlg::KColorDlg()
{
    ZeroMemory(&cc, sizeof(cc));
    cc.lStructSize = sizeof(cc);
    cc.lpCustColors = CustColorOpt.getColors();
}

bool KColorDlg::choose(KWindow* owner, COLORREF* colour)
{
    cc.hwndOwner = owner ? owner->getWindow() : nullptr;
    cc.hInstance = nullptr;
    cc.rgbResult = *colour;
    cc.lpCustColors = CustColorOpt.getColors();
    cc.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!ChooseColorW(&cc)) {
        // The dialog writes custom colours straight into the array; take back
        // the ones the user edited before cancelling.
        CustColorOpt.load();
        return false;
    }
    *colour = cc.rgbResult;
    CustColorOpt.store();
    return true;
}
