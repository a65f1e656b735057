// The layout tests run inside a real application, for the windows they place.
#include "test_app.h"

TestApp app(L"Layout Tests");
