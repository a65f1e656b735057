// The table tests run inside a real application, for the windows they make.
#include "test_app.h"

TestApp app(L"Table tests");
