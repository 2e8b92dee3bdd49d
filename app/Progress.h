#pragma once
// The progress window of the long operations (parse, renaming of old logs): two pie gauges,
// a line of text and a button that breaks the operation off. Updates run the pending window
// messages (a gauge's at most every PumpInterval), so the button and the close box are seen
// while the operation works.
#include <chrono>

#include "System.h"

class TButton;
class TCGauge;
class TControl;
class TForm;
class TLabel;
class TObject;

class BProgress {
public:
  // owner: the control the window is centred on and that is disabled while it is shown; it
  // also owns the window. abortFlag: the caller's flag, set to 1 by the button and the close box.
  BProgress(TControl* owner, Byte* abortFlag);
  ~BProgress();
  BProgress(const BProgress&) = delete;
  BProgress& operator=(const BProgress&) = delete;

  void Show(bool on);
  // Places and sizes the window and its controls from the margin and the owner's bounds.
  void Arrange();
  void SetProgress(int mainMax, int mainPos, int secondMax, int secondPos, bool showSecond);
  void SetMainProgress(int max, int pos);
  void SetSecondProgress(int max, int pos);
  void SetText(const AnsiString& text);

  void AbortClick(TObject* Sender);
  void FormClose(TObject* Sender);

  // The users put the current language's texts here before each Show.
  AnsiString WindowCaption;
  AnsiString ButtonText;
  TControl* Owner;
  Byte* AbortFlag;
  bool Created = false;
  // Pixels: the button's own default height once the window is built.
  int Margin = 15;
  TForm* Form = nullptr;
  TCGauge* MainGauge = nullptr;
  TCGauge* SecondGauge = nullptr;
  TButton* Button = nullptr;
  TLabel* Label = nullptr;
  // The gauges let the messages run at most once in this time: an operation may update them
  // for every few lines, and a pump with its repaints costs as much as thousands of lines.
  // Showing the window and a new text always let them run.
  std::chrono::steady_clock::duration PumpInterval = std::chrono::milliseconds(30);

private:
  static void SetGauge(TCGauge* gauge, int max, int pos);
  // Lets the button and the close box run, unless the window is hidden or the program ends;
  // for a gauge only when PumpInterval has passed since the last time.
  void Pump(bool always);

  std::chrono::steady_clock::time_point lastPump_{};
};

// The window over one long operation: shown with the operation's texts and empty gauges (the
// second with secondMax steps), hidden again on every way out of the scope. Nothing when
// progress is null.
class ProgressShown {
public:
  ProgressShown(BProgress* progress, const AnsiString& caption, const AnsiString& buttonText, int secondMax);
  // A failure to hide is dropped: the scope may be left by an exception already on its way.
  ~ProgressShown();
  ProgressShown(const ProgressShown&) = delete;
  ProgressShown& operator=(const ProgressShown&) = delete;

private:
  BProgress* progress_;
};
