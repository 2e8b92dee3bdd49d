#pragma once
// The dialog that edits one name in its three languages. The caller fills the names and the
// label captions (and may replace the three window texts), then runs Execute.
#include "System.h"

class TButton;
class TEdit;
class TLabel;

class BNameRED {
public:
  BNameRED();
  BNameRED(const BNameRED&) = delete;
  BNameRED& operator=(const BNameRED&) = delete;

  // True when the user confirmed; the three names then hold the edited texts. Otherwise the
  // names stay as they were.
  bool Execute();

  AnsiString RussianName;
  AnsiString EnglishName;
  AnsiString GermanName;
  AnsiString OkCaption;
  AnsiString CancelCaption;
  AnsiString WindowCaption;
  AnsiString RussianCaption;
  AnsiString EnglishCaption;
  AnsiString GermanCaption;

  // The controls of the dialog while Execute runs; null outside it.
  TLabel* RussianLabel = nullptr;
  TLabel* EnglishLabel = nullptr;
  TLabel* GermanLabel = nullptr;
  TEdit* RussianEdit = nullptr;
  TEdit* EnglishEdit = nullptr;
  TEdit* GermanEdit = nullptr;
  TButton* OkButton = nullptr;
  TButton* CancelButton = nullptr;
};
