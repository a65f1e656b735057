// Rubber band: a rectangle or a line that follows the mouse while a button is
// held, drawn in grey with XOR so that drawing it again takes it away and
// leaves the picture below as it was. One band exists at a time.
//
//     void View::press(KWindow*, MouseEvent* e)   { StartRubberRect(this, KPOINT{e->x, e->y}); }
//     void View::drag(KWindow*, MouseEvent* e)    { UpdateRubberRect(KPOINT{e->x, e->y}); }
//     void View::release(KWindow*, MouseEvent* e) { EndRubberRect(); zoomTo(e->x, e->y); }
//
// Coordinates are client coordinates of the band's window in its own
// coordinate settings.
#ifndef KORVEL_KRUBBER_H
#define KORVEL_KRUBBER_H

#include "kexport.h"
#include "kgeometry.h"

class KWindow;

// A rectangle from the anchor p to the pointer, its outline inside.
KORVEL_API void StartRubberRect(KWindow* w, const KPOINT& p);
KORVEL_API void UpdateRubberRect(const KPOINT& p);
// Takes the rectangle away.
KORVEL_API void EndRubberRect();

// A line from the anchor p to the pointer.
KORVEL_API void StartRubberLine(KWindow* w, const KPOINT& p);
KORVEL_API void UpdateRubberLine(const KPOINT& p);
// Takes the line away and gives its ends through the pointers not null.
KORVEL_API void EndRubberLine(KPOINT* start, KPOINT* end);

#endif
