#pragma once
// The central object's log model: the records of the parsed log and the parse's flags.
#include <cstdint>
#include <memory>

#include "PtrList.h"
#include "System.h"
#include "Types.h"
#include "log/DataCellPool.h"
#include "log/DictionaryIndex.h"
#include "log/Records.h"

class TStringList;

// A log's bytes, and the status names taken from it, are Windows-1251 whatever the interface
// language: shown and typed in that code page.
constexpr int LogCodePage = 1251;

struct LogState {
  // The records (log/Records.h), freed by the clear operations (log/ClearLists.cpp).
  TPtrList<LErrorCell>* ErrorCells = nullptr;    // fault intervals of the parsed log
  TPtrList<LDataCell>* DataCells = nullptr;      // one record per recognised log line
  BDataCellPool DataCellPool;                    // where the parser makes the line records
  TPtrList<LTypeCell>* TypeCells = nullptr;      // known parameters; kept from log to log
  TPtrList<LStatusCell>* StatusCells = nullptr;  // known statuses
  DictionaryIndex DictIndex;                     // the dictionary by name, for the parser

  // Unrecognised lines of the parsed log, one message each, by kind (log/ParseLog.cpp).
  TStringList* BadValueLines = nullptr;
  TStringList* ShortRestLines = nullptr;
  TStringList* ShortLines = nullptr;
  TStringList* BadKeyLines = nullptr;
  TStringList* OtherLines = nullptr;

  // ECU family of the logs opened last: 0 none, 1 QEL, 2 PMS, 3 LH. Kept across parses
  // (log/EcuFamily.cpp).
  int EcuFamily = 0;
  // 1 while ParseLogText runs: handlers that read or change the log model must wait.
  Byte ParseRunning = 0;
  // The last parse broke down in the middle (out of memory, say): its records are partial.
  Byte ParseFailed = 0;
  // Handed to work deferred past a parse: expired once the object is freed.
  std::shared_ptr<int> LifeToken = std::make_shared<int>(0);
};
