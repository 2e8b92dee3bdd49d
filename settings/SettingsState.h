#pragma once
// Where the central object's settings live, and the version last read.
#include <cstdint>

#include "System.h"

struct SettingsState {
  // The settings file: "Dravolin.ini" in the data folder.
  AnsiString SettingsPath;
  // Format version of the settings last read; it governs the rest of that read only.
  int32_t SettingsVersion = 0;
};
