#pragma once
// Shared by the control tests: the application (made on first use, or adopted when another
// part of the test program made the Qt application first), a record of what reaches
// Application->HandleException, and ways to drive the event loop and the mouse.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "Exceptions.h"
#include "Forms.h"

inline void EnsureGuiApplication()
{
  static int argc = 1;
  static char name[] = "gui_tests";
  static char* argv[] = {name, nullptr};
  static const bool done = (Application->Initialize(argc, argv), true);
  (void)done;
}

class GuiTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    EnsureGuiApplication();
    Application->OnException = [this](TObject* sender, const std::exception* e) {
      exceptions.push_back(e->what());
      exceptionSenders.push_back(sender);
    };
  }

  void TearDown() override
  {
    // Deferred frees and queued work of this test run before the next test starts.
    RunMainLoopFor(0);
    Application->OnException = nullptr;
  }

  // Runs the main loop (no pump, no modal loop) for about ms milliseconds.
  static void RunMainLoopFor(int ms)
  {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
  }

  // Runs the main loop until done() holds or timeoutMs passed; returns done().
  static bool RunMainLoopUntil(const std::function<bool()>& done, int timeoutMs = 3000)
  {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < timeoutMs)
      RunMainLoopFor(5);
    return done();
  }

  static void SendMouse(QWidget* widget, QEvent::Type type, QPoint local, Qt::MouseButton button,
                        Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
  {
    QMouseEvent event(type, QPointF(local), QPointF(widget->mapToGlobal(local)), button, buttons, modifiers);
    QCoreApplication::sendEvent(widget, &event);
  }

  std::vector<std::string> exceptions;
  std::vector<TObject*> exceptionSenders;
};
