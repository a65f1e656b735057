// The drawing tests run inside a real application, for the windows they paint.
#include "test_app.h"

TestApp app(L"Graphics Tests");
