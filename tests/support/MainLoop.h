#pragma once
// Runs the main loop (timers, deferred work, sockets, posted events) as the program's own loop
// would, never a pump or a modal loop.
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <functional>

// Runs the loop for about ms milliseconds.
inline void RunLoopFor(int ms)
{
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

// Runs the loop until done() holds or limitMs passed; returns done(). The condition is asked
// once a round, never again after it held, so it may take what it looks at (a byte of a socket).
inline bool RunLoopUntil(const std::function<bool()>& done, int limitMs = 10000)
{
  QElapsedTimer clock;
  clock.start();
  for (;;) {
    if (done())
      return true;
    if (clock.elapsed() >= limitMs)
      return false;
    RunLoopFor(5);
  }
}
