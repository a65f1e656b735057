// The control tests run inside a real application, for the windows they press and read.
#include "test_app.h"

TestApp app(L"Control Tests");
