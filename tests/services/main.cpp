#include "test_app.h"
TestApp app(L"Service Tests");
