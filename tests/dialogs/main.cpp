// The dialog tests run inside a real application, for the modal loops they start.
#include "test_app.h"

TestApp app(L"Dialog Tests");
