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

// Runs the loop until done() holds or limitMs passed; returns done().
inline bool RunLoopUntil(const std::function<bool()>& done, int limitMs = 10000)
{
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < limitMs)
    RunLoopFor(5);
  return done();
}

// The names the control tests grew up with.
inline void RunMainLoopFor(int ms)
{
  RunLoopFor(ms);
}
inline bool RunMainLoopUntil(const std::function<bool()>& done, int limitMs = 10000)
{
  return RunLoopUntil(done, limitMs);
}
