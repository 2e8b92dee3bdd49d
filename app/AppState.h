#pragma once
// The central object's life: its form, the current log, the start timer, the flags of its state.
#include <cstdint>

#include "System.h"
#include "Types.h"

class TQELMainForm;
class TStringList;
class TTimer;

struct AppState {
  // The main form: owner of the start timer, the main panel and the actions.
  TQELMainForm* Owner = nullptr;
  // Full path of the current log; "" when none.
  AnsiString LogFileName;
  // Opens the program's own command line on its eleventh tick of 100 ms, then stays disabled.
  TTimer* StartTimer = nullptr;
  // Logs beside the current one (same folder, first three characters, extension), for
  // previous/next; sorted ignoring case, names that differ only in case both kept.
  TStringList* SiblingList = nullptr;
  // Position of the current log among its neighbours, for previous/next.
  int32_t SiblingIndex = 0;
  // 0 while constructing: layout and drawing do nothing until the object is complete.
  Byte ReadyFlag = 0;
  // 1 while the start timer's handler runs: the main window refuses to close meanwhile.
  Byte BusyFlag = 0;
  // Set to break off a long operation; cleared by the operation when it starts.
  Byte AbortFlag = 0;
  // 1 while a chart layout waits for the running parse to end.
  Byte ChartLayoutDeferred = 0;
  // Ticks of the start timer so far.
  int TickCount = 0;
  // Interface language: 0 Russian, 1 English, any other value German.
  int Language = 0;

  // The walk's gauge positions: each counts 0 to 100, then starts again from 0.
  int RenameFolderCounter = 0;
  int RenameFileCounter = 0;
};
