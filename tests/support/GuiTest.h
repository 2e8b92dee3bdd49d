#pragma once
// The fixture of the control tests: the application, a record of what reaches
// Application->HandleException, and the main loop run once after each test so that deferred
// frees and queued work of one test never reach the next.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>
#include <string>
#include <vector>

#include "Exceptions.h"
#include "Forms.h"
#include "support/MainLoop.h"
#include "support/TestApp.h"

class GuiTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    EnsureTestApplication();
    Application->OnException = [this](TObject* sender, const std::exception* e) {
      exceptions.push_back(e->what());
      exceptionSenders.push_back(sender);
    };
  }

  void TearDown() override
  {
    RunLoopFor(0);
    Application->OnException = nullptr;
  }

  // A mouse event sent straight to the widget (no window-system routing; see WindowInput.h).
  static void SendMouse(QWidget* widget, QEvent::Type type, QPoint local, Qt::MouseButton button,
                        Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
  {
    QMouseEvent event(type, QPointF(local), QPointF(widget->mapToGlobal(local)), button, buttons, modifiers);
    QCoreApplication::sendEvent(widget, &event);
  }

  std::vector<std::string> exceptions;
  std::vector<TObject*> exceptionSenders;
};
