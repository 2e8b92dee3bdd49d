#pragma once
// The central object: owns the data, the options and (later) the window's controls.
#include "PtrList.h"
#include "StringList.h"
#include "System.h"
#include "log/Records.h"
#include "texts/Dictionary.h"

class BQELunit {
public:
  BQELunit();
  ~BQELunit();
  BQELunit(const BQELunit&) = delete;
  BQELunit& operator=(const BQELunit&) = delete;


  TPtrList<LErrorCell>* ErrorCells = nullptr;   // fault intervals of the parsed log
  TPtrList<LDataCell>* DataCells = nullptr;     // one record per recognised log line
  TPtrList<LMaskCell>* MaskCells = nullptr;     // all masks
  TPtrList<LTypeCell>* TypeCells = nullptr;     // known parameters; kept from log to log
  TPtrList<LStatusCell>* StatusCells = nullptr; // known statuses
  TPtrList<LDictCell>* DictCells = nullptr;     // parameter-name dictionary


  // Unrecognised lines of the parsed log, one message each, by kind.
  TStringList* BadValueLines = nullptr;
  TStringList* ShortRestLines = nullptr;
  TStringList* ShortLines = nullptr;
  TStringList* BadKeyLines = nullptr;
  TStringList* OtherLines = nullptr;


  // Interface language: 0 Russian, 1 English, any other value German.
  int Language = 0;

  // Option: the reading speed is typed in Hz (else the frame period in ms).
  Byte SpeedInHz = 1;


  // Set by the mask editor: frees the row controls of the editor mask's items. The masks
  // are cleared only after it ran, so it still finds them.
  void (*FreeMaskRowsHook)(BQELunit& unit) = nullptr;

  // The user-visible text of a text id in the current language (texts/UiText.cpp).
  AnsiString& GetUiText(int id, AnsiString& out);

  // Each frees the records of its list and empties it; nothing when the list is missing
  // (log/ClearLists.cpp).
  void ClearErrorCells();
  void ClearDataCells();
  void ClearTypeCells();
  void ClearMaskCells();
  void ClearStatusCells();
  // Frees the steps of one status and empties its step list.
  void ClearStatusSubList(LStatusCell* status);

  // Dictionary (texts/Dictionary.cpp).
  void ClearDictCells();
  void LoadDictionaryResource(const AnsiString& name);
  void RebuildDictionary();
  // TranslateMode: 0 ru->en, 1 ru->de, 2 en->ru, 3 de->ru, 4 en->de, 5 de->en. The last
  // matching entry decides; no match, or any other mode, gives "".
  AnsiString& TranslateName(const AnsiString& name, int TranslateMode, AnsiString& out);
};
