// KForm: the attachment form, the container that top-level windows build on.
#ifndef KORVEL_KFORM_H
#define KORVEL_KFORM_H

#include "kwindow.h"

// The constraint solving of the form arrives with the layout containers; for
// now a form is a plain container whose children keep the places they are
// given.
class KORVEL_API KForm : public KWindow {
protected:
    KForm() = default;
    friend KORVEL_API KForm* MakeForm(KWindow* parent, KArgList* args);
};

KORVEL_API KForm* MakeForm(KWindow* parent, KArgList* args);

#endif
