// The demo's table page (table.cpp).
#ifndef KORVEL_DEMO_TABLE_H
#define KORVEL_DEMO_TABLE_H

#include <korvel.h>

namespace demo {

// Opens the table of generated measurements beside owner, modeless; with
// showCurrent it scrolls a little way down and opens the editor on a note.
void ShowTableDialog(KWindow* owner, bool showCurrent);

} // namespace demo

#endif
