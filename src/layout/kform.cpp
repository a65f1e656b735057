// KForm construction.
#include "kform.h"

KForm* MakeForm(KWindow* parent, KArgList* args)
{
    auto* form = new KForm;
    form->init(parent, args);
    return form;
}
