#pragma once
// The central object: owns the data, the options and (later) the window's controls.
#include "System.h"

class BQELunit {
public:
  BQELunit();
  ~BQELunit();
  BQELunit(const BQELunit&) = delete;
  BQELunit& operator=(const BQELunit&) = delete;

  // Interface language: 0 Russian, 1 English, any other value German.
  int Language = 0;
  // Option: the reading speed is typed in Hz (else the frame period in ms).
  Byte SpeedInHz = 1;

  // The user-visible text of a text id in the current language (texts/UiText.cpp).
  AnsiString& GetUiText(int id, AnsiString& out);
};
