#pragma once
// The records of a parsed log and of the masks, held by pointer in the lists of BQELunit.
// Plain data: the parser, the interval builders, the chart, the editors and the settings
// read and write the fields directly; the clear operations of BQELunit free them.
#include <cstdint>

#include "PtrList.h"
#include "SharedText.h"
#include "StringList.h"
#include "System.h"

// Row controls of the mask editor, owned by the control tree, not by the records.
class TLabel;
class TEdit;
class TColorBox;
class TCheckBox;

// Kinds of LDataCell below 2; 2 and up is the id of the parameter.
constexpr int32_t KindEraseMarker = -1;
constexpr int32_t KindFault = 0;
constexpr int32_t KindStatus = 1;

// One recognised log line. Times and text positions are 64-bit: a long log at 16 Hz
// runs past 2^31 ms, and large files past 2^31 characters. Kind sits beside Index so that
// the two 32-bit fields share one 8-byte slot: a log has millions of these records.
// Destroyed, a record releases Text before Code (reverse order of declaration).
struct LDataCell {
  int32_t Index = 0;          // position in the line-record list
  int32_t Kind = KindFault;   // parameter id, or one of the kinds above
  int64_t TextPos = 0;        // character position of the line's start in the text view
  int64_t Time = 0;           // milliseconds from the start of the log
  SharedText Code;            // key: 8 characters, 6 for a status, empty for faults
  double Value = 0.0;         // value; +1 actual / -1 post fault; 0 otherwise
  SharedText Text;            // parameter name, status text, fault line or marker text
  LDataCell* Next = nullptr;  // next record of the same kind
  LDataCell* Prev = nullptr;  // previous record of the same kind
};
static_assert(sizeof(void*) != 8 || sizeof(LDataCell) == 64, "a line record has no padding");

// Item id of a status item; parameter items carry the parameter's id (2 and up).
constexpr int32_t StatusItemId = 1;
// Item id while no parameter has the item's Russian name (until a parse links it).
constexpr int32_t NoChannelId = -1;

// A parameter of the logs, or an item of a mask (same record, owned by the mask).
struct LTypeCell {
  int32_t Id = 0;      // parameter: 2 and up; item: the parameter's id, 1 for a status
  int32_t Factor = 1;  // plotted value = Factor * value + Offset
  int32_t Offset = 0;
  TColor Color = 0;
  AnsiString NameRu;
  AnsiString NameEn;
  AnsiString NameDe;
  Byte Chart = 0;            // parameter: shown in the list; item: drawn on the chart
  Byte Cursor = 0;           // item: listed in the value window at the cursor
  double Minimum = 0.0;      // item: smallest plotted value in the log
  double Maximum = 0.0;      // item: largest plotted value in the log
  double CursorValue = 0.0;  // item: raw value at the cursor, or NoValue
  Byte Present = 0;          // status item: the status occurs in the log
  TLabel* NameLabel = nullptr;
  TEdit* FactorEdit = nullptr;
  TEdit* OffsetEdit = nullptr;
  TColorBox* ColorBox = nullptr;
  TCheckBox* ChartCheck = nullptr;
  TCheckBox* CursorCheck = nullptr;
};

// One point of a status's on/off curve.
struct LStatusStep {
  int64_t Time = 0;
  Byte State = 0;
};

// A status the user tracks. The step list is owned; whoever makes the status makes it.
struct LStatusCell {
  AnsiString Name;
  AnsiString Label;  // 6-character code of the status lines that name it
  Byte State = 0;    // on at the cursor
  TPtrList<LStatusStep>* Steps = nullptr;
  int64_t LastMatchTime = 0;
};

// One fault interval. Codes and Kinds are owned and run in parallel ("A", "P", "D").
struct LErrorCell {
  int64_t Time = 0;  // middle of the run
  Byte HasActual = 0;
  Byte HasPost = 0;
  Byte Erase = 0;
  Byte Changed = 0;
  TStringList* Codes = nullptr;
  TStringList* Kinds = nullptr;
  int32_t MarkLeft = 0;  // the interval's mark as last drawn on the chart
  int32_t MarkTop = 0;
  int32_t MarkRight = 0;
  int32_t MarkBottom = 0;
};

// A display mask. The item list and its items are owned; whoever makes the mask makes the list.
// The defaults are what a mask added by the user, or read from the settings, starts with.
struct LMaskCell {
  AnsiString NameRu;  // Windows-1251
  AnsiString NameEn;
  AnsiString NameDe;       // Windows-1252; also shown for any language other than 0 and 1
  int32_t Thickness = 2;   // pen width of the curves; the editor offers 1 to 5
  Byte UnderCursor = 1;    // the chart shows the value window at the mouse
  int32_t YBottom = -200;  // clip bounds of the value range, in plotted units
  int32_t YTop = 4000;
  TPtrList<LTypeCell>* Items = nullptr;  // in display order: editor rows, legend, curves
};
