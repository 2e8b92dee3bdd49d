#pragma once
// The recorder's own text logs ("log*.txt") beside a log: which reading speed they give for it.
#include "System.h"

// What one recorder log gives, 0 for nothing: the speed above the first line naming the
// log's raw file, and the speed above the first line naming any log ("Log: ").
struct RecorderLogSpeeds {
  int RawFileSpeed = 0;
  int AnyLogSpeed = 0;
};

// Reads the file once, line by line, keeping only what the label rule needs of the two lines
// above the current one; stops at the first raw-file speed. Throws when the file cannot be read.
RecorderLogSpeeds ScanRecorderLog(const AnsiString& fileName, const AnsiString& rawName);

// The speed the recorder logs in the folder of logFileName give for it: a raw-file speed from
// the first file that has one, else the first any-log speed in file order; 0 when none.
// A name without a folder searches nothing.
int FindRecorderLogSpeed(const AnsiString& logFileName);
