// Test programs that need the application frame (windows, the message loop)
// run their tests inside a real application: the library's WinMain registers
// the window classes and calls main(), which runs the tests and ends the
// message loop with their result as the exit code. Such a program defines
//     TestApp app(L"Its Title");
// in a file named main.cpp (which tells the build that it runs its own tests).
#ifndef KORVEL_TESTS_TEST_APP_H
#define KORVEL_TESTS_TEST_APP_H

#include <gtest/gtest.h>
#include <korvel.h>

class TestApp : public KAppClass {
public:
    explicit TestApp(const wchar_t* title) : title(title) {}
    KString appTitle() override { return KString(title); }
    void main() override
    {
        int argc = __argc;
        testing::InitGoogleTest(&argc, __argv);
        const int failed = RUN_ALL_TESTS();
        setExitCode(failed);
        PostQuitMessage(failed);
    }

private:
    const wchar_t* title;
};

#endif
