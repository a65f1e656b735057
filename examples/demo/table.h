// The demo's table page (table.cpp).
#ifndef KORVEL_DEMO_TABLE_H
#define KORVEL_DEMO_TABLE_H

#include <korvel.h>

namespace demo {

// Opens the table of generated measurements beside owner, modeless; with
// showCurrent it scrolls a little way down and opens the editor on a note.
// action 1 prints the first two pages on the default printer at once and
// ends the demo,
// action 2 opens the print preview.
void ShowTableDialog(KWindow* owner, bool showCurrent, int action = 0);

} // namespace demo

#endif
