// The demo's input page (inputs.cpp).
#ifndef KORVEL_DEMO_INPUTS_H
#define KORVEL_DEMO_INPUTS_H

#include <korvel.h>

namespace demo {

// Opens the input dialog beside owner, modeless; with openUnitList its unit
// list drops down as soon as the dialog is up.
void ShowInputDialog(KWindow* owner, bool openUnitList);

} // namespace demo

#endif
