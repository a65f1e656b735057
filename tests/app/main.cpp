// The window tests run inside a real application.
#include "test_app.h"

TestApp app(L"Window Tests");
