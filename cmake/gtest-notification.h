// testing::internal::Notification for GoogleTest built with MinGW's "win32"
// thread model.
//
// GoogleTest 1.12 implements its Notification with std::mutex and
// std::condition_variable, which the libstdc++ of GCC 12 does not provide in
// the win32 thread model (they come with GCC 13). Everything else GoogleTest
// needs for threads on Windows it implements with the Win32 API. This header
// is force-included into GoogleTest and the test programs together with
// GTEST_HAS_NOTIFICATION_=1, GoogleTest's switch for a Notification supplied
// from outside. Only GoogleTest's own thread helpers use the class.
#ifndef KORVEL_GTEST_NOTIFICATION_H
#define KORVEL_GTEST_NOTIFICATION_H

#include <atomic>

// Same declaration as in <windows.h>, which is not included here so that it
// does not define its macros in every test.
extern "C" __declspec(dllimport) void __stdcall Sleep(unsigned long milliseconds);

namespace testing {
namespace internal {

class Notification {
 public:
  Notification() : notified_(false) {}
  Notification(const Notification&) = delete;
  Notification& operator=(const Notification&) = delete;

  // Lets every thread waiting in WaitForNotification go on.
  void Notify() { notified_.store(true, std::memory_order_release); }

  // Waits until Notify has been called.
  void WaitForNotification() {
    while (!notified_.load(std::memory_order_acquire)) Sleep(1);
  }

 private:
  std::atomic<bool> notified_;
};

}  // namespace internal
}  // namespace testing

#endif
