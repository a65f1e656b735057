// KColorDlg: asks for a colour with the Windows colour dialog, opened in full
// with its custom colours, which are the sixteen of CustColorOpt and so live
// in that option file between runs.
//
//     CustColorOpt.setPath(L"[TARNWELL_DIR]\\user\\colors.opt");
//     CustColorOpt.load();                       // the colours of the last run
//     COLORREF pen = RGB(0, 0, 255);
//     KColorDlg dlg;
//     if (dlg.choose(mainWin, &pen))             // OK: pen is the choice and
//         plot->setPenColor(pen);                // the custom colours are stored
//
// Cancel leaves the colour as it was and reloads the custom colours from their
// file, undoing what the user changed in them while the dialog was open.
#ifndef KORVEL_KCOLORDLG_H
#define KORVEL_KCOLORDLG_H

#include <windows.h>
#include <commdlg.h>
#include "kexport.h"
#include "koptionfile.h"

class KWindow;

class KORVEL_API KColorDlg {
public:
    KColorDlg();

    // Runs the dialog preset with *colour, owned by owner's window (may be
    // null). True and *colour set on OK; false and *colour untouched otherwise.
    bool choose(KWindow* owner, COLORREF* colour);

    // The record handed to ChooseColorW on the last call.
    const CHOOSECOLORW& record() const { return cc; }

private:
    CHOOSECOLORW cc;
};

static_assert(sizeof(void*) != 4 || sizeof(CHOOSECOLORW) == 36, "the colour record is 36 bytes on 32-bit Windows");

#endif
