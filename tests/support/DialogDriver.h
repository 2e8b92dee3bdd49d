#pragma once
// Answers the modal dialogs a test opens, as a user would, in turn: each answer waits until a
// modal widget of its type is on top and then runs on it from inside that dialog's own loop
// (so an answer may open a further dialog, which the next answer handles). Qt's own dialogs
// are used, never the desktop's native ones. A dialog still open after the time limit is
// rejected, so a test fails instead of hanging.
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <deque>
#include <functional>

class DialogDriver {
public:
  explicit DialogDriver(int timeoutMs = 10000) : timeoutMs_(timeoutMs)
  {
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    timer_.setInterval(10);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
    clock_.start();
    timer_.start();
  }

  template <class Dialog>
  DialogDriver& Then(std::function<void(Dialog*)> answer)
  {
    steps_.push_back({[](QWidget* widget) { return qobject_cast<Dialog*>(widget) != nullptr; },
                      [answer](QWidget* widget) { answer(qobject_cast<Dialog*>(widget)); }});
    return *this;
  }

  // Every answer was given, none left waiting for its dialog.
  bool Done() const { return steps_.empty() && !busy_ && !timedOut_; }

private:
  void Poll()
  {
    QWidget* top = QApplication::activeModalWidget();
    if (clock_.elapsed() > timeoutMs_) {
      timedOut_ = true;
      if (QDialog* dialog = qobject_cast<QDialog*>(top))
        dialog->reject();
      return;
    }
    // A dialog just answered may still be on top while it closes: the next answer waits for
    // the next dialog.
    if (busy_ || steps_.empty() || !top || !top->isVisible() || top == answered_)
      return;
    // Run outside this timer's own call, so the answer can open another modal loop in which
    // the timer keeps ticking.
    busy_ = true;
    QPointer<QWidget> target(top);
    QMetaObject::invokeMethod(
        &timer_,
        [this, target] {
          busy_ = false;
          if (!target || !steps_.front().matches(target.data()))
            return;
          const Step step = steps_.front();
          steps_.pop_front();
          answered_ = target;
          step.run(target.data());  // may open a nested dialog for the next answer
        },
        Qt::QueuedConnection);
  }

  int timeoutMs_;
  QTimer timer_;
  QElapsedTimer clock_;
  struct Step {
    std::function<bool(QWidget*)> matches;
    std::function<void(QWidget*)> run;
  };
  std::deque<Step> steps_;
  QPointer<QWidget> answered_;
  bool busy_ = false;
  bool timedOut_ = false;
};
