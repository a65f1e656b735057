// The window tests run inside a real application: the library's WinMain
// registers the window classes and calls main(), which runs the tests and
// ends the message loop with their result as the exit code.
#include <gtest/gtest.h>
#include "test_support.h"

class TestApp : public KAppClass {
public:
    KString appTitle() override { return KString(L"Window Tests"); }
    void main() override
    {
        int argc = __argc;
        testing::InitGoogleTest(&argc, __argv);
        const int failed = RUN_ALL_TESTS();
        setExitCode(failed);
        PostQuitMessage(failed);
    }
} app;
