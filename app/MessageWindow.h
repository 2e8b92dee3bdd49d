#pragma once
// A message with one "Ok" button that closes itself after a number of seconds, counting them
// down on the button; 0 seconds (or fewer) waits for the user.
#include "System.h"

class TButton;
class TForm;
class TLabel;
class TObject;
class TTimer;

class BMessageBox {
public:
  BMessageBox() = default;
  BMessageBox(const BMessageBox&) = delete;
  BMessageBox& operator=(const BMessageBox&) = delete;

  // Builds the window, shows it modally and releases it; returns when it has closed.
  void Show(const AnsiString& text, int seconds);
  void OnTimerTick(TObject* Sender);

  // Milliseconds of one counted second; tests shorten it.
  static int TickInterval;

  // The window of the running Show; it is freed by the message loop after Show returns.
  TForm* Form = nullptr;
  TLabel* Label = nullptr;
  TButton* Button = nullptr;
  TTimer* Timer = nullptr;
  int SecondsLeft = 0;
  bool Counting = false;
};

// Shows text in a BMessageBox for the given number of seconds; returns when it has closed.
void ShowTimedMessage(const AnsiString& text, int seconds);
