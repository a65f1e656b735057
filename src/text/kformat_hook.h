// The %w conversion prints a window's text, but the text layer knows nothing
// of windows: the window core installs the function that gives that text when
// the library is loaded. Until then (and for a null window) %w prints nothing.
#ifndef KORVEL_SRC_TEXT_KFORMAT_HOOK_H
#define KORVEL_SRC_TEXT_KFORMAT_HOOK_H

#include "kstring.h"

class KWindow;

typedef KString (*WindowTextFunction)(KWindow* window, const char* format);

void SetWindowTextFunction(WindowTextFunction f);

#endif
