#include "platform/event_loop_clock.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <thread>

namespace sw48230 {

std::chrono::milliseconds EventLoopClock::now() const {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch());
}

bool EventLoopClock::pause(std::chrono::milliseconds duration) {
  if (QCoreApplication::instance() == nullptr) {
    std::this_thread::sleep_for(duration);
    return true;
  }
  QEventLoop loop;
  bool elapsed = false;
  QTimer timer;
  timer.setSingleShot(true);
  // A coarse timer may fire a little early; the waiting loops count on at
  // least the time asked for having passed.
  timer.setTimerType(Qt::PreciseTimer);
  timer.callOnTimeout([&] {
    elapsed = true;
    loop.quit();
  });
  timer.start(duration);
  // A loop ended by anything but the timer was ended by the application
  // quitting; once it has, every further loop returns at once.
  loop.exec(QEventLoop::ExcludeUserInputEvents);
  return elapsed;
}

}  // namespace sw48230
