#pragma once
// The central object: owns the data, the options and (later) the window's controls.
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

#include "PtrList.h"
#include "StringList.h"
#include "System.h"
#include "Types.h"
#include "log/DataCellPool.h"
#include "log/DictionaryIndex.h"
#include "log/Records.h"
#include "texts/Dictionary.h"
#include "chart/ChainIndex.h"

class TMemo;
class TComboBox;
class TObject;
class TPageControl;
class TTabSheet;
class TScrollBox;
class TEdit;
class TCheckBox;
class TGroupBox;
class TRadioButton;
class BConfigLoad;
class TQELMainForm;
class TTimer;
class TPanel;
class BProgress;
class TBitmap;

class BQELunit {
public:
  // owner: the main form. Made without one (tests, benchmarks), the object is no start of
  // the program: it registers no file type and opens no command line.
  explicit BQELunit(TQELMainForm* owner = nullptr);
  ~BQELunit();
  BQELunit(const BQELunit&) = delete;
  BQELunit& operator=(const BQELunit&) = delete;

  // The main form: owner of the start timer.
  TQELMainForm* Owner = nullptr;


  TPtrList<LErrorCell>* ErrorCells = nullptr;   // fault intervals of the parsed log
  TPtrList<LDataCell>* DataCells = nullptr;     // one record per recognised log line
  BDataCellPool DataCellPool;                   // where the parser makes the line records
  TPtrList<LMaskCell>* MaskCells = nullptr;     // all masks
  TPtrList<LTypeCell>* TypeCells = nullptr;     // known parameters; kept from log to log
  TPtrList<LStatusCell>* StatusCells = nullptr; // known statuses
  TPtrList<LDictCell>* DictCells = nullptr;     // parameter-name dictionary
  DictionaryIndex DictIndex;                    // the dictionary by name, for the parser

  // Full path of the current log; "" when none.
  AnsiString LogFileName;
  // The settings file: "Dravolin.ini" in the data folder.
  AnsiString SettingsPath;
  // Opens the program's own command line on its eleventh tick of 100 ms, then stays disabled.
  TTimer* StartTimer = nullptr;
  // The window's content, filling the main form; the control tree grows on it. None without a
  // main form (headless use).
  TPanel* MainPanel = nullptr;
  // The progress window of the parse; none without a main panel.
  BProgress* Progress = nullptr;
  // Format version of the settings last read; it governs the rest of that read only.
  int32_t SettingsVersion = 0;
  // The recent log files, most recent first (the toolbar's drop-down list).
  TComboBox* RecentCombo = nullptr;
  // Logs beside the current one (same folder, first three characters, extension), for
  // previous/next; sorted ignoring case, names that differ only in case both kept.
  TStringList* SiblingList = nullptr;
  // Off-screen pictures of the chart page, copied to the screen on paint.
  TBitmap* ChartBitmap = nullptr;
  TBitmap* LegendBitmap = nullptr;
  TBitmap* ValueWindowBitmap = nullptr;
  TBitmap* FaultPanelBitmap = nullptr;

  // Unrecognised lines of the parsed log, one message each, by kind.
  TStringList* BadValueLines = nullptr;
  TStringList* ShortRestLines = nullptr;
  TStringList* ShortLines = nullptr;
  TStringList* BadKeyLines = nullptr;
  TStringList* OtherLines = nullptr;

  // The log text view; its lines are the lines parsed.
  TMemo* TextMemo = nullptr;

  // 0 while constructing: layout and drawing do nothing until the object is complete.
  Byte ReadyFlag = 0;
  // 1 while the start timer's handler runs: the main window refuses to close meanwhile.
  Byte BusyFlag = 0;
  // Option: fault sections count anywhere, not only inside an F10E block.
  Byte OldErrorAlgorithm = 0;
  // ECU family of the logs opened last: 0 none, 1 QEL, 2 PMS, 3 LH. Kept across parses.
  int EcuFamily = 0;
  // Set when the log must be parsed again before the chart is shown.
  Byte ReparseNeeded = 0;
  // Set to break off a long operation; cleared by the operation when it starts.
  Byte AbortFlag = 0;
  // Option: long operations show their progress (and can be broken off).
  Byte ShowProgress = 1;
  // Ticks of the start timer so far.
  int TickCount = 0;
  // 1 while ParseLogText runs: handlers that read or change the log model must wait.
  Byte ParseRunning = 0;
  // The last parse broke down in the middle (out of memory, say): its records are partial.
  Byte ParseFailed = 0;
  // Runs work once the message loop is back outside any parse (at once when none runs);
  // dropped when the object is freed before.
  void WhenParseEnds(std::function<void()> work);
  std::shared_ptr<int> LifeToken = std::make_shared<int>(0);

  // Line record and fault interval at the cursor; none after the records were freed.
  LDataCell* CursorDataCell = nullptr;
  LErrorCell* CursorFaultInterval = nullptr;

  // Chart state (chart/ValueRange.cpp, chart/CursorValues.cpp; the renderer, the panels and the
  // mouse write the rest). A plotted value is an item's factor * value + offset; pixels are the
  // chart paint box's; times are in ms and 64-bit, as the records' times are.
  double ValueMin = 0.0;       // plotted-value range of the chart mask, margins included
  double ValueMax = 0.0;
  int64_t TimeSpan = 0;        // time of the last line record; 1000 when that is not positive
  double ZoomX = 1.0;          // never below 1.0
  double ZoomY = 1.0;
  int32_t PanX = 0;            // visible plot inside the zoomed plot, from the left and the top
  int32_t PanY = 0;
  double PanPercentX = 0.0;    // the pan in % of the zoomed width and height, kept over resizes
  double PanPercentY = 0.0;
  // Geometry of the last rendering: zoomed plot, margins, plot, scales and visible window.
  int32_t ZoomedHeight = 0;
  int32_t ZoomedWidth = 0;
  int32_t MarginLeft = 60;
  int32_t MarginRight = 5;
  int32_t MarginTop = 5;
  int32_t MarginBottom = 45;
  int32_t PlotHeight = 0;
  int32_t PlotWidth = 0;
  int32_t MouseX = 0;          // last mouse position over the chart (the crosshair)
  int32_t MouseY = 0;
  int32_t PressX = 0;          // where a button went down on the chart
  int32_t PressY = 0;
  double MsPerPixel = 0.0;
  double UnitsPerPixel = 0.0;
  int64_t VisibleTimeFrom = 0;
  int64_t VisibleTimeTo = 0;
  int32_t VisibleValueBottom = 0;
  int32_t VisibleValueTop = 0;
  int64_t CursorTime = 0;      // truncated; CursorTimeExact before truncation
  double CursorTimeExact = 0.0;
  int32_t CursorValue = 0;     // plotted value under the mouse
  int32_t PressPanX = 0;       // PanX, ZoomX, PanY, ZoomY when the button went down
  double PressZoomX = 1.0;
  int32_t PressPanY = 0;
  double PressZoomY = 1.0;
  // The three panel pictures and their row layout.
  int32_t LegendHeight = 0;
  int32_t LegendWidth = 0;
  int32_t ValueWindowHeight = 0;
  int32_t ValueWindowWidth = 0;
  int32_t FaultPanelHeight = 0;
  int32_t FaultPanelWidth = 0;
  int32_t LegendRow = -1;      // legend row under the mouse, -1 none
  int32_t PanelInset = 10;     // left inset, also the gap between columns
  int32_t PanelRowSpacing = 10;
  int32_t PanelBoxWidth = 30;  // colour box
  int32_t PanelValueWidth = 0; // widest value text measured so far; it only grows
  int32_t TextHeight = 10;     // "ABCypg" in the panel font
  // Checkpoints along the record chains of the chart mask's parameters, for the cursor.
  BChainIndex CursorChains;

  // Options, in ms: the time step of a text line and of a frame.
  int TextLinePeriod = 10;
  int FramePeriod = 22;

  // Interface language: 0 Russian, 1 English, any other value German.
  int Language = 0;

  // Text position of the caret at the cursor; -1 none.
  int64_t CursorCaretPos = -1;

  // Option: the reading speed is typed in Hz (else the frame period in ms).
  Byte SpeedInHz = 1;

  // Set when the statuses changed and must be mapped to the log again; cleared by the mapping.
  Byte StatusesChanged = 0;
  // Selected entry of the chart's and of the editor's mask combo.
  int32_t ChartMaskIndex = 0;
  int32_t EditorMaskIndex = 0;
  // The mask combos of the editor and of the chart; they list the masks in list order.
  TComboBox* MaskCombo = nullptr;
  TComboBox* ChartMaskCombo = nullptr;

  // Options (chart/Options.cpp): reading speed in Hz; spans of F5 to F8 in seconds; where the
  // value window floats from the mouse; the switches and chart styles (1 straight, 0 steps).
  int32_t ReadingSpeed = 45;
  int32_t ZoomSeconds[4] = {10, 30, 180, 600};
  TPoint ValueWindowOffset = {50, 3};
  Byte EnableYZoom = 0;
  Byte MultiLineStatuses = 1;
  Byte ParamChartStyle = 1;
  Byte StatusChartStyle = 1;
  // Options no control shows: the channel list shows only channels marked shown; colour of
  // the line through an absent status; chart page splitters; one recent entry per folder.
  Byte HideUnusedChannels = 1;
  TColor AbsentStatusColor = 0x008080;
  int32_t LegendHeightPercent = 30;
  int32_t LeftColumnWidth = 300;
  Byte RecentOnePerFolder = 1;
  // Position of the current log among its neighbours, for previous/next.
  int32_t SiblingIndex = 0;
  // Set once the Options tab shows the fields: until then the read-back reads nothing.
  Byte EditorRowsValid = 0;
  // Set when a mask was added, renamed or deleted; cleared by the refill of the chart's combo.
  Byte MasksChanged = 0;

  // Controls the options and the speed edits reach (chart/CommonPage.cpp builds the Common
  // page's; the rest come with the control tree).
  TPageControl* PageControl = nullptr;
  TTabSheet* ChartPage = nullptr;
  TPageControl* OptionsPageControl = nullptr;
  TTabSheet* CommonPage = nullptr;
  TEdit* SpeedEdit = nullptr;
  TScrollBox* CommonBox = nullptr;
  TEdit* TextLinePeriodEdit = nullptr;
  TEdit* FramePeriodEdit = nullptr;
  TEdit* ZoomF5Edit = nullptr;
  TEdit* ZoomF6Edit = nullptr;
  TEdit* ZoomF7Edit = nullptr;
  TEdit* ZoomF8Edit = nullptr;
  TEdit* ValueWindowXEdit = nullptr;
  TEdit* ValueWindowYEdit = nullptr;
  TCheckBox* EnableYZoomCheck = nullptr;
  TCheckBox* ShowProgressCheck = nullptr;
  TCheckBox* OldErrorAlgorithmCheck = nullptr;
  TCheckBox* MultiLineStatusesCheck = nullptr;
  TGroupBox* ParamStyleGroup = nullptr;
  TRadioButton* ParamStyleRadio1 = nullptr;
  TRadioButton* ParamStyleRadio2 = nullptr;
  TGroupBox* StatusStyleGroup = nullptr;
  TRadioButton* StatusStyleRadio1 = nullptr;
  TRadioButton* StatusStyleRadio2 = nullptr;

  // Set by the mask editor: show and read back the editor mask's rows, after the options.
  void (*ShowMaskRowsHook)(BQELunit& unit) = nullptr;
  void (*ReadMaskRowsHook)(BQELunit& unit) = nullptr;


  // Set by the mask editor: frees the row controls of the editor mask's items. The masks
  // are cleared only after it ran, so it still finds them.
  void (*FreeMaskRowsHook)(BQELunit& unit) = nullptr;

  // Called where a parse reports its progress while ShowProgress is set: at the start of each
  // stage (1 to 7) with position -1, and every few thousand lines or records of stages 2 and
  // 3 with the maximum and the position, before it looks at AbortFlag.
  void (*ProgressHook)(BQELunit& unit, int stage, int64_t max, int64_t position) = nullptr;

  // The start timer's handler (app/StartTimer.cpp).
  void StartTimerTimer(TObject* Sender);
  // Associates ".qel" files with this program on the desktop; silent on failure
  // (app/FileType.cpp).
  void RegisterFileType();
  // Makes the first argument of a whole command line (program path first) the current log
  // and parses it; the recent list and the Chart page are not served yet
  // (app/CommandLineLog.cpp).
  void OpenCommandLineLog(const AnsiString& commandLine);

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

  // Log parser (log/ParseLog.cpp): loads LogFileName into TextMemo and turns its lines into
  // line records, parameters and messages about unrecognised lines.
  void ParseLogText();
  // Time step of a key or frame mark: TextLinePeriod when the text has fewer than 8
  // characters or a blank among its first 8, else FramePeriod.
  int FrameTimeStep(std::string_view text) const;
  // Id of the parameter with this name in any language; a new parameter when none has it.
  int32_t FindOrAddChannel(const AnsiString& name);
  // Text editing of the parser (log/TextCuts.cpp).
  // The first n characters, removed from text.
  static AnsiString CutHead(AnsiString& text, int n);
  // The characters before the first blank, removed from text together with that blank.
  static AnsiString CutWord(AnsiString& text);
  // "." and "," become the decimal separator; then only digits, "-" and it are kept.
  static AnsiString CleanNumber(const AnsiString& text);
  // Sets EcuFamily from the name of LogFileName, and on a change of family selects a chart
  // mask whose name holds the family's word (log/EcuFamily.cpp). Returns that word ("QEL",
  // "PMS", "LH") when the family changed, else nullptr.
  const char* ChooseEcuFamilyAndMask();

  // Dictionary (texts/Dictionary.cpp).
  void ClearDictCells();
  void LoadDictionaryResource(const AnsiString& name);
  void RebuildDictionary();
  // TranslateMode: 0 ru->en, 1 ru->de, 2 en->ru, 3 de->ru, 4 en->de, 5 de->en. The last
  // matching entry decides; no match, or any other mode, gives "".
  AnsiString& TranslateName(const AnsiString& name, int TranslateMode, AnsiString& out);

  // Status labels and steps (log/StatusSteps.cpp): each status takes the code of the last
  // status line naming it; the statuses the chart mask shows get their on/off steps.
  void MapStatusesToData();
  void BuildStatusIntervals();
  // Appends one fault interval per run of fault lines or erase markers (log/FaultIntervals.cpp).
  void BuildErrorIntervals();

  // Masks (chart/Masks.cpp, chart/DefaultMasks.cpp).
  void MakeDefaultStatuses();
  void MakeDefaultMasks();
  // Append an item unless the mask has one of the same kind with one of these names.
  void AddChannelItem(LMaskCell* mask, const AnsiString& ru, const AnsiString& en, const AnsiString& de);
  void AddStatusItem(LMaskCell* mask, const AnsiString& name);
  // Names in the current language; "" for none.
  AnsiString MaskName(const LMaskCell* mask) const;
  AnsiString ChannelName(const LTypeCell* item) const;
  // Id of the first parameter with exactly this Russian name; -1 when none.
  int32_t ChannelIdByName(const AnsiString& nameRu) const;
  // First mask whose name in the current language is this one; nullptr when none.
  LMaskCell* FindMaskByName(const AnsiString& name) const;
  // The mask of a combo entry (the entry at storedIndex, while the combo has a selection): the
  // mask at that index when its name is the entry's text, else the first of that name.
  bool MaskOfComboEntry(const TStrings* entries, int selectedIndex, int storedIndex, LMaskCell*& out) const;
  // The mask edited on the Mask page and the mask shown on the chart; false when none.
  bool EditorMask(LMaskCell*& out);
  bool ChartMask(LMaskCell*& out);

  // Value range and values at the cursor (chart/ValueRange.cpp, chart/CursorValues.cpp).
  // CalcValueRange: status steps rebuilt, then the chart mask's plotted-value range and the
  // time span. CalcCursorValues: statuses, item values, caret position and fault interval at
  // CursorTime.
  void CalcValueRange();
  void CalcCursorValues();
  // Set by the chart page until its status bar is built here: gives the chart status bar the
  // height FitStatusNames asks for and repaints it. CalcValueRange calls it first.
  void (*FitChartStatusBarHook)(BQELunit& unit) = nullptr;

  // Options (chart/Options.cpp, chart/CommonPage.cpp).
  void SetDefaultOptions();
  // Corrects fields that cannot work, writes the options into the Common page, then the rows.
  void ShowOptionsAndMaskRows();
  // While EditorRowsValid: reads the Common page back (raising ReparseNeeded where the time
  // base changed), then the rows.
  void ReadOptionsAndMaskRows();
  void BuildCommonPageControls();

  // Reading speed (log/ReadingSpeed.cpp): detected for LogFileName from the recorder's logs
  // beside it, at the start of a parse; or typed into SpeedEdit or FramePeriodEdit.
  void DetectExchangeSpeed();
  // The number in the two characters after a label and one separator, counted from the start
  // of the line; -1 when they are none.
  static int ParseIntAfterLabel(const AnsiString& line, const AnsiString& label);
  void ReadingSpeedEditExit(TObject* Sender);
  void FramePeriodEditExit(TObject* Sender);

  // Settings (settings/SettingsLoad.cpp, SettingsRead.cpp, SettingsSave.cpp). The loads empty
  // the masks, parameters and statuses first; false when the source is missing or the read
  // failed before the end of its version's sequence (what was read so far stays).
  bool LoadSettingsFile(const AnsiString& path);
  bool LoadSettingsResource(const AnsiString& name);
  bool ReadSettings(BConfigLoad& reader);
  // Writes the version-4 sequence; false, with the old file left as it was, on any failure.
  bool SaveSettingsFile(const AnsiString& path);
  // The first start's settings when none can be read: default options, parameters, masks
  // and statuses.
  void MakeDefaultSettings();

private:
  // The constructor's last steps, from the file type to the start timer, and the
  // destructor's first (app/StartTimer.cpp).
  void StartUp();
  void StopStartTimer();
  // Stages of ParseLogText (log/ParseLog.cpp).
  void ClearParseResults();
  bool LoadLogText();
  void LinkDataCells();
  // Progress points of a parse: a stage starts; a stage has come so far, and whether the
  // user broke it off.
  void ParseStageStarts(int stage);
  bool ParseAborted(int stage, int64_t max, int64_t position);
};
