// The wait cursor and the queue flushing need windows and a message loop.
#include "test_app.h"
TestApp app(L"Service Tests");
