// The demo's plot page (plots.cpp).
#ifndef KORVEL_DEMO_PLOTS_H
#define KORVEL_DEMO_PLOTS_H

#include <korvel.h>

namespace demo {

// Opens the plot page beside owner, modeless: a measured signal and its
// spectrum, each in a scope plot whose cursor follows the mouse.
void ShowPlotDialog(KWindow* owner);

} // namespace demo

#endif
