// The repeat of a held mouse press shared by all prompt fields: one runs at a
// time for the whole program.
#ifndef KORVEL_KREPEAT_H
#define KORVEL_KREPEAT_H

#include "kwindow.h"

namespace PromptRepeat {

// Offers a copy of press to its window again after delay ms, then every
// rate ms, its repeat count one higher each time; nothing when one runs.
void start(const MouseEvent& press, int delay, int rate);
void stop();
bool running();
// Stops the repeat when it belongs to w (w is going away).
void forget(KWindow* w);

} // namespace PromptRepeat

#endif
