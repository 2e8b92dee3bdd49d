#pragma once
// The central object: owns the data, the options and the window's controls. Its members are
// defined in the folder of their subsystem; each banner below names the folder, and each
// member or group its defining file.
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "Events.h"
#include "PtrList.h"
#include "StringList.h"
#include "System.h"
#include "Types.h"
#include "chart/ChainIndex.h"
#include "log/DataCellPool.h"
#include "log/DictionaryIndex.h"
#include "log/Records.h"
#include "texts/Dictionary.h"

class BConfigLoad;
class BProgress;
class TAction;
class TActionList;
class TBevel;
class TBitBtn;
class TBitmap;
class TButton;
class TCheckBox;
class TComboBox;
class TEdit;
class TGroupBox;
class TImage;
class TLabel;
class TListBox;
class TMemo;
class TMenuItem;
class TObject;
class TPageControl;
class TPaintBox;
class TPanel;
class TPopupMenu;
class TQELMainForm;
class TRadioButton;
class TScrollBox;
class TSplitter;
class TStatusBar;
class TTabSheet;
class TTimer;
class TUpDown;

// Where the mask editor lays its rows out (left and top margin, gap under the headings, row
// height and spacing, the row's width, the column widths); the control tree sets it, the
// layout writes RowWidth.
struct MaskRowLayout {
  int32_t LeftMargin = 10;
  int32_t TopMargin = 5;
  int32_t HeaderGap = 10;
  int32_t RowHeight = 0;
  int32_t RowSpacing = 3;
  int32_t RowWidth = 0;
  int32_t NameWidth = 400;
  int32_t FactorWidth = 60;
  int32_t OffsetWidth = 60;
  int32_t ColorWidth = 130;
  int32_t ChartWidth = 70;
  int32_t CursorWidth = 70;
};

class BQELunit {
public:
  // ======================================================================================
  // app/: the object's life, the start, the window's controls
  // ======================================================================================

  // owner: the main form. Made without one (tests, benchmarks), the object is no start of
  // the program: it registers no file type, opens no command line and shows no progress
  // window; its controls stand on a main panel of their own (app/Qelunit.cpp).
  explicit BQELunit(TQELMainForm* owner = nullptr);
  ~BQELunit();
  BQELunit(const BQELunit&) = delete;
  BQELunit& operator=(const BQELunit&) = delete;

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
  // Ticks of the start timer so far.
  int TickCount = 0;
  // Interface language: 0 Russian, 1 English, any other value German.
  int Language = 0;

  // The window's controls (app/ControlTree.cpp), in the order of the window's outline, with
  // the progress window and the chart page's off-screen pictures (made by the constructor)
  // in their places. Every control is freed with MainPanel; the actions belong to the form.
  TPanel* MainPanel = nullptr;
  TPageControl* PageControl = nullptr;
  TTabSheet* OptionsPage = nullptr;
  TTabSheet* TextPage = nullptr;
  TTabSheet* ChartPage = nullptr;
  TPageControl* OptionsPageControl = nullptr;
  TTabSheet* MaskPage = nullptr;
  TTabSheet* CommonPage = nullptr;
  TTabSheet* HelpPage = nullptr;
  // The progress window of long operations; none without a main form.
  BProgress* Progress = nullptr;
  TPanel* ToolbarPanel = nullptr;
  // The recent log files, most recent first.
  TComboBox* RecentCombo = nullptr;
  TBitBtn* OpenButton = nullptr;
  TBitBtn* PasteButton = nullptr;
  TBitBtn* PrevButton = nullptr;
  TBitBtn* NextButton = nullptr;
  TBitBtn* LanguageButton = nullptr;
  TEdit* SpeedEdit = nullptr;
  TLabel* SpeedUnitLabel = nullptr;
  TListBox* ChannelList = nullptr;
  TListBox* StatusList = nullptr;
  // The mask combos of the editor and of the chart list the masks in list order.
  TComboBox* MaskCombo = nullptr;
  TButton* NewMaskButton = nullptr;
  TButton* RenameMaskButton = nullptr;
  TButton* DeleteMaskButton = nullptr;
  TLabel* MaskNameLabel = nullptr;
  TLabel* MaskOptionsLabel = nullptr;
  TLabel* MaskItemsLabel = nullptr;
  TLabel* AllItemsLabel = nullptr;
  TBevel* MaskBevel1 = nullptr;
  TBevel* MaskBevel2 = nullptr;
  TBevel* MaskBevel3 = nullptr;
  TBevel* MaskBevel4 = nullptr;
  TCheckBox* UnderCursorCheck = nullptr;
  TUpDown* ThicknessUpDown = nullptr;
  TLabel* ThicknessLabel = nullptr;
  TEdit* ThicknessEdit = nullptr;
  TLabel* YBottomLabel = nullptr;
  TEdit* YBottomEdit = nullptr;
  TLabel* YTopLabel = nullptr;
  TEdit* YTopEdit = nullptr;
  TScrollBox* MaskRowBox = nullptr;
  TPanel* RowHoverBar = nullptr;
  TLabel* RowHoverLabel = nullptr;
  TBitBtn* RowUpButton = nullptr;
  TBitBtn* RowDownButton = nullptr;
  TBitBtn* RowDeleteButton = nullptr;
  TLabel* ItemNameHeader = nullptr;
  TLabel* FactorHeader = nullptr;
  TLabel* OffsetHeader = nullptr;
  TLabel* ColorHeader = nullptr;
  TLabel* ChartHeader = nullptr;
  TLabel* CursorHeader = nullptr;
  TPopupMenu* ChannelPopup = nullptr;
  TMenuItem* HideChannelMenu = nullptr;
  TMenuItem* ShowChannelMenu = nullptr;
  TMenuItem* RenameChannelMenu = nullptr;
  TMenuItem* DeleteChannelMenu = nullptr;
  TMenuItem* ShowAllChannelsMenu = nullptr;
  TPageControl* ListPageControl = nullptr;
  TTabSheet* ChannelListPage = nullptr;
  TTabSheet* StatusListPage = nullptr;
  TPopupMenu* StatusPopup = nullptr;
  TMenuItem* AddStatusMenu = nullptr;
  TMenuItem* DeleteStatusMenu = nullptr;
  TScrollBox* CommonBox = nullptr;
  TEdit* TextLinePeriodEdit = nullptr;
  TLabel* TextLinePeriodLabel = nullptr;
  TEdit* FramePeriodEdit = nullptr;
  TLabel* FramePeriodLabel = nullptr;
  TEdit* ZoomF5Edit = nullptr;
  TLabel* ZoomF5Label = nullptr;
  TEdit* ZoomF6Edit = nullptr;
  TLabel* ZoomF6Label = nullptr;
  TEdit* ZoomF7Edit = nullptr;
  TLabel* ZoomF7Label = nullptr;
  TEdit* ZoomF8Edit = nullptr;
  TLabel* ZoomF8Label = nullptr;
  TEdit* ValueWindowXEdit = nullptr;
  TLabel* ValueWindowXLabel = nullptr;
  TEdit* ValueWindowYEdit = nullptr;
  TLabel* ValueWindowYLabel = nullptr;
  TCheckBox* EnableYZoomCheck = nullptr;
  TCheckBox* ShowProgressCheck = nullptr;
  TCheckBox* OldErrorAlgorithmCheck = nullptr;
  TCheckBox* MultiLineStatusesCheck = nullptr;
  TButton* ClearHistoryButton = nullptr;
  TButton* RenameLogsButton = nullptr;
  TButton* DictRenameButton = nullptr;
  TBitBtn* RussianButton = nullptr;
  TBitBtn* EnglishButton = nullptr;
  TBitBtn* GermanButton = nullptr;
  TGroupBox* ParamStyleGroup = nullptr;
  TRadioButton* ParamStyleRadio1 = nullptr;
  TRadioButton* ParamStyleRadio2 = nullptr;
  TImage* ParamStyleImage1 = nullptr;
  TImage* ParamStyleImage2 = nullptr;
  TGroupBox* StatusStyleGroup = nullptr;
  TRadioButton* StatusStyleRadio1 = nullptr;
  TRadioButton* StatusStyleRadio2 = nullptr;
  TImage* StatusStyleImage1 = nullptr;
  TImage* StatusStyleImage2 = nullptr;
  TMemo* HelpMemo = nullptr;
  // The log text view; its lines are the lines parsed.
  TMemo* TextMemo = nullptr;
  TPanel* FindPanel = nullptr;
  TLabel* FindLabel = nullptr;
  TEdit* FindEdit = nullptr;
  TButton* FindButton = nullptr;
  TRadioButton* FindUpRadio = nullptr;
  TRadioButton* FindDownRadio = nullptr;
  TStatusBar* TextStatusBar = nullptr;
  TBitBtn* ClearFindButton = nullptr;
  TBitBtn* TextStartButton = nullptr;
  TBitBtn* TextEndButton = nullptr;
  TPanel* ChartAreaPanel = nullptr;
  TPanel* ChartColumnPanel = nullptr;
  TPanel* ChartComboPanel = nullptr;
  TScrollBox* LegendScrollBox = nullptr;
  TScrollBox* FaultScrollBox = nullptr;
  TSplitter* LegendSplitter = nullptr;
  TSplitter* ChartSplitter = nullptr;
  TComboBox* ChartMaskCombo = nullptr;
  TStatusBar* ChartStatusBar = nullptr;
  TPaintBox* ChartPaintBox = nullptr;
  // Off-screen pictures of the chart page, copied to the screen on paint.
  TBitmap* ChartBitmap = nullptr;
  TPaintBox* LegendPaintBox = nullptr;
  TBitmap* LegendBitmap = nullptr;
  TBitmap* ValueWindowBitmap = nullptr;
  TPaintBox* FaultPaintBox = nullptr;
  TBitmap* FaultPanelBitmap = nullptr;
  // F3, F5 to F8, F10 and F12 from any control of the window.
  TActionList* ActionList = nullptr;
  TAction* ToggleTextChartAction = nullptr;
  TAction* ZoomF5Action = nullptr;
  TAction* ZoomF6Action = nullptr;
  TAction* ZoomF7Action = nullptr;
  TAction* ZoomF8Action = nullptr;
  TAction* SaveReportAction = nullptr;
  TAction* SaveJpegAction = nullptr;

  // Mask-editor row geometry, set with the control tree (app/ControlTree.cpp).
  MaskRowLayout MaskRowGeometry;

  // Builds every control and binds the handlers that exist; once, from the constructor
  // (app/ControlTree.cpp).
  void CreateControls();

  // The layouts place the controls from sizes measured now (the fonts decide them); each does
  // nothing until ReadyFlag, nor without a main form. The toolbar and the page control (app/MainLayout.cpp), the
  // find row (app/MainLayout.cpp), the Mask and Common tabs (app/OptionsLayout.cpp), the chart page's column and
  // plot geometry and its status bar's panels (app/ChartLayout.cpp).
  void MainPanelResize(TObject* Sender);
  void FindPanelResize(TObject* Sender);
  void OptionsPageResize(TObject* Sender);
  void ChartPageResize(TObject* Sender);
  void ChartStatusBarResize(TObject* Sender);

  // The language switch (app/Language.cpp): the toolbar's flag steps round the three
  // languages, the Common tab's flags pick one; ApplyLanguage puts the current language on
  // every caption, hint, menu and the help page, then lays the window out again.
  void LanguageButtonClick(TObject* Sender);
  void RussianButtonClick(TObject* Sender);
  void EnglishButtonClick(TObject* Sender);
  void GermanButtonClick(TObject* Sender);
  void ApplyLanguage();
  // The start timer's handler (app/StartTimer.cpp).
  void StartTimerTimer(TObject* Sender);
  // Associates ".qel" files with this program on the desktop; silent on failure
  // (app/FileType.cpp).
  void RegisterFileType();

  // Opening logs. The command line's first argument after the program path: from the process's
  // own arguments or a later start's, as a list whose names pass intact; or from one whole
  // command line, split at blanks and quotes. A relative name is a file in the working folder;
  // a bare name not found there, one in the program's folder (app/CommandLineLog.cpp).
  void SplitCommandLine(const std::vector<AnsiString>& arguments);
  void SplitCommandLine(const AnsiString& commandLine);
  // Every way of opening ends here: the trimmed name, made absolute, becomes the current log
  // and the top recent entry (replacing the first entry that lies in its folder or below),
  // then it is parsed and the Chart page shown (app/OpenLog.cpp).
  void OpenLogFile(const AnsiString& name);
  void RecentComboChange(TObject* Sender);
  void OpenButtonClick(TObject* Sender);
  // Logs of the current one's folder whose names begin with its first three bytes and end in
  // its extension (ASCII case ignored), into SiblingList and SiblingIndex; previous and next
  // step through them with wrap-around (app/SiblingLogs.cpp).
  void ScanSiblingLogFiles();
  void PrevButtonClick(TObject* Sender);
  void NextButtonClick(TObject* Sender);
  // The file the clipboard names is opened; the paste button's hint shows the clipboard's text,
  // refreshed when the pointer enters the button and when the clipboard changes
  // (app/PasteLog.cpp).
  void PasteButtonClick(TObject* Sender);
  void PasteButtonMouseMove(TObject* Sender);

  // History, old logs and the page change. Clearing the history empties the recent list and
  // closes the log (app/ClearHistory.cpp). The old-log walk asks for a folder and, under the
  // progress window, gives the ".txt" files of every folder named "LOGS" (any case) in its
  // tree the extension ".qel", never replacing a file and never following a link; the open log
  // and the recent entries follow a renamed file. It holds ParseRunning as a parse does, and
  // reports each folder and file to ProgressHook with stage 0, the folder counter and the file
  // counter (app/RenameLogs.cpp). A page change: the Options page opens on the chart's mask,
  // every change reads the Options page back, the Chart page acts on the change flags
  // (app/PageChange.cpp).
  void ClearHistoryButtonClick(TObject* Sender);
  void RenameLogsButtonClick(TObject* Sender);
  void RenameLogsInFolder(const AnsiString& folder, bool recursive);
  void PageControlChange(TObject* Sender);
  // The walk's gauge positions: each counts 0 to 100, then starts again from 0.
  int RenameFolderCounter = 0;
  int RenameFileCounter = 0;

private:
  // Parse again, map the statuses again, or recompute, as the change flags ask (app/PageChange.cpp).
  void ShowEditsOnChart();
  // The progress window's text and gauges, at its pumping pace; one log renamed
  // (app/RenameLogs.cpp).
  void ShowRenameProgress(const AnsiString& folder);
  void RenameOldLog(const AnsiString& folder, const AnsiString& name);
  int64_t RenameShownAtNs = 0;

public:

  // The Text page (app/TextPage.cpp): find up or down from the selection's start (bytes; the
  // nearest match of the typed text's forms wins), clear the find text, go to the start or
  // the end of the text, and the readout of the selection start's line, column and offset.
  void FindButtonClick(TObject* Sender);
  void ClearFindButtonClick(TObject* Sender);
  void TextStartButtonClick(TObject* Sender);
  void TextEndButtonClick(TObject* Sender);
  void ShowCaretPosition();
  void TextMemoMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
  void TextMemoKeyUp(TObject* Sender, Word& Key, TShiftState Shift);
  // F3 (app/TextChartToggle.cpp): on the Text page, the chart at the moment of the caret's
  // line, centred there with the pointer on the cursor; on the Chart page, the text at the
  // cursor's line.
  void ToggleTextChartActionExecute(TObject* Sender);
  void ShowChartAtCaret();
  void ShowTextAtCursor();

private:
  // The constructor's last steps, from the file type to the start timer, and the
  // destructor's first (app/StartTimer.cpp).
  void StartUp();
  void StopStartTimer();
  // The parts of the control tree, in the order CreateControls builds them
  // (app/ControlTree.cpp, app/OptionsTree.cpp).
  void CreatePages();
  void CreateToolbar();
  void CreateTextPage();
  void CreateMaskPage();
  void CreateCommonPage();
  void CreateMaskRowBox();
  void CreateChartPage();
  void CreateActions();
  // The layouts work once the object is complete, and only on a main form's window: an object
  // without one (tests, benchmarks) keeps its settings as read (app/MainLayout.cpp).
  bool LaysOut() const;
  // The two tabs of the Options page's layout (app/OptionsLayout.cpp).
  void LayOutMaskTab();
  void LayOutCommonTab();
  // The form outlives this object: its actions must reach nothing once it is gone
  // (app/ControlTree.cpp).
  void UnbindFormHandlers();
  // The opening handlers bound to the toolbar (app/OpenLog.cpp); the Chart page made active
  // (app/OpenLog.cpp); one step through the siblings, -1 or +1 (app/SiblingLogs.cpp).
  void BindOpeningHandlers();
  void ShowChartPage();
  void StepSibling(int step);

public:
  // ======================================================================================
  // texts/: the text table and the parameter dictionary
  // ======================================================================================

  // The user-visible text of a text id in the current language (texts/UiText.cpp).
  AnsiString& GetUiText(int id, AnsiString& out);

  // Parameter-name dictionary (texts/Dictionary.cpp).
  TPtrList<LDictCell>* DictCells = nullptr;
  void ClearDictCells();
  void LoadDictionaryResource(const AnsiString& name);
  void RebuildDictionary();
  // TranslateMode: 0 ru->en, 1 ru->de, 2 en->ru, 3 de->ru, 4 en->de, 5 de->en. The last
  // matching entry decides; no match, or any other mode, gives "".
  AnsiString& TranslateName(const AnsiString& name, int TranslateMode, AnsiString& out);

  // ======================================================================================
  // log/: the records, the parser, the time base
  // ======================================================================================

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
  // Runs work once the message loop is back outside any parse (at once when none runs);
  // dropped when the object is freed before (log/ParseGuard.cpp).
  void WhenParseEnds(std::function<void()> work);
  std::shared_ptr<int> LifeToken = std::make_shared<int>(0);

  // A seam for the parse benchmark and the tests, beside the progress window: called where a
  // parse reports its progress while ShowProgress is set, at the start of each stage (1 to 7)
  // with position -1, and with the maximum and the position every few megabytes of the text
  // load (stage 1) and every few thousand lines or records of the later stages, before it
  // looks at AbortFlag.
  void (*ProgressHook)(BQELunit& unit, int stage, int64_t max, int64_t position) = nullptr;

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
  // Text editing of the parser (log/TextCuts.cpp).
  // Time step of a key or frame mark: TextLinePeriod when the text has fewer than 8
  // characters or a blank among its first 8, else FramePeriod.
  int FrameTimeStep(std::string_view text) const;
  // The first n characters, removed from text.
  static AnsiString CutHead(AnsiString& text, int n);
  // The characters before the first blank, removed from text together with that blank.
  static AnsiString CutWord(AnsiString& text);
  // "." and "," become the decimal separator; then only digits, "-" and it are kept.
  static AnsiString CleanNumber(const AnsiString& text);
  // Id of the parameter with this name in any language; a new parameter when none has it
  // (log/ChannelIndex.cpp).
  int32_t FindOrAddChannel(const AnsiString& name);
  // Sets EcuFamily from the name of LogFileName, and on a change of family selects a chart
  // mask whose name holds the family's word (log/EcuFamily.cpp). Returns that word ("QEL",
  // "PMS", "LH") when the family changed, else nullptr.
  const char* ChooseEcuFamilyAndMask();

  // Status labels and steps (log/StatusSteps.cpp): each status takes the code of the last
  // status line naming it; the statuses the chart mask shows get their on/off steps.
  void MapStatusesToData();
  void BuildStatusIntervals();
  // Appends one fault interval per run of fault lines or erase markers (log/FaultIntervals.cpp).
  void BuildErrorIntervals();

  // Reading speed (log/ReadingSpeed.cpp): detected for LogFileName from the recorder's logs
  // beside it, at the start of a parse; or typed into SpeedEdit or FramePeriodEdit.
  void DetectExchangeSpeed();
  // The number in the two characters after a label and one separator, counted from the start
  // of the line; -1 when they are none.
  static int ParseIntAfterLabel(const AnsiString& line, const AnsiString& label);
  void ReadingSpeedEditExit(TObject* Sender);
  void FramePeriodEditExit(TObject* Sender);

private:
  // Stages of ParseLogText (log/ParseLog.cpp).
  void ClearParseResults();
  bool LoadLogText();
  void LinkDataCells();
  // Progress points of a parse: a stage starts; the current stage has come so far, and
  // whether the user broke it off (never outside a parse, nor without the progress window).
  // Long loops look every ProgressEvery items.
  void ParseStageStarts(int stage);
  bool ParseAborted(int64_t max, int64_t position);
  bool ParseGoesOn(int64_t done, int64_t total) { return !ParseAborted(total, done); }
  static constexpr int64_t ProgressEvery = 4096;
  int ParseStage = 0;

public:
  // ======================================================================================
  // chart/: masks, options, value range and the values at the cursor
  // ======================================================================================

  // All masks (chart/Masks.cpp).
  TPtrList<LMaskCell>* MaskCells = nullptr;
  // Line record and fault interval at the cursor; none after the records were freed.
  LDataCell* CursorDataCell = nullptr;
  LErrorCell* CursorFaultInterval = nullptr;

  // Chart state (chart/ValueRange.cpp, chart/CursorValues.cpp; the renderer, the panels and the
  // mouse write the rest). A plotted value is an item's factor * value + offset; pixels are the
  // chart paint box's; times are in ms and 64-bit, as the records' times are.
  double ValueMin = 0.0;  // plotted-value range of the chart mask, margins included
  double ValueMax = 0.0;
  int64_t TimeSpan = 0;  // time of the last line record; 1000 when that is not positive
  double ZoomX = 1.0;    // never below 1.0
  double ZoomY = 1.0;
  int32_t PanX = 0;  // visible plot inside the zoomed plot, from the left and the top
  int32_t PanY = 0;
  double PanPercentX = 0.0;  // the pan in % of the zoomed width and height, kept over resizes
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
  int32_t MouseX = 0;  // last mouse position over the chart (the crosshair)
  int32_t MouseY = 0;
  int32_t PressX = 0;  // where a button went down on the chart
  int32_t PressY = 0;
  double MsPerPixel = 0.0;
  double UnitsPerPixel = 0.0;
  int64_t VisibleTimeFrom = 0;
  int64_t VisibleTimeTo = 0;
  int32_t VisibleValueBottom = 0;
  int32_t VisibleValueTop = 0;
  int64_t CursorTime = 0;  // truncated; CursorTimeExact before truncation
  double CursorTimeExact = 0.0;
  int32_t CursorValue = 0;  // plotted value under the mouse
  int32_t PressPanX = 0;    // PanX, ZoomX, PanY, ZoomY when the button went down
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
  int32_t LegendRow = -1;   // legend row under the mouse, -1 none
  int32_t PanelInset = 10;  // left inset, also the gap between columns
  int32_t PanelRowSpacing = 10;
  int32_t PanelBoxWidth = 30;   // colour box
  int32_t PanelValueWidth = 0;  // widest value text measured so far; it only grows
  int32_t TextHeight = 10;      // "ABCypg" in the panel font
  // Checkpoints along the record chains of the chart mask's parameters, for the cursor.
  BChainIndex CursorChains;
  // Text position of the caret at the cursor; -1 none.
  int64_t CursorCaretPos = -1;

  // Options (chart/Options.cpp). Time steps in ms of a text line and of a frame; the reading
  // speed in Hz; spans of F5 to F8 in seconds; where the value window floats from the mouse;
  // the switches and chart styles (1 straight, 0 steps).
  int TextLinePeriod = 10;
  int FramePeriod = 22;
  int32_t ReadingSpeed = 45;
  int32_t ZoomSeconds[4] = {10, 30, 180, 600};
  TPoint ValueWindowOffset = {50, 3};
  Byte EnableYZoom = 0;
  // Long operations show their progress (and can be broken off).
  Byte ShowProgress = 1;
  // Fault sections count anywhere, not only inside an F10E block.
  Byte OldErrorAlgorithm = 0;
  Byte MultiLineStatuses = 1;
  Byte ParamChartStyle = 1;
  Byte StatusChartStyle = 1;
  // The reading speed is typed in Hz (else the frame period in ms).
  Byte SpeedInHz = 1;
  // Options no control shows: the channel list shows only channels marked shown; colour of
  // the line through an absent status; chart page splitters; one recent entry per folder.
  Byte HideUnusedChannels = 1;
  TColor AbsentStatusColor = 0x008080;
  int32_t LegendHeightPercent = 30;
  int32_t LeftColumnWidth = 300;
  Byte RecentOnePerFolder = 1;
  // Selected entry of the chart's and of the editor's mask combo.
  int32_t ChartMaskIndex = 0;
  int32_t EditorMaskIndex = 0;
  // Change flags: the Options tab shows the fields (until then the read-back reads nothing);
  // the log must be parsed again before the chart is shown; the statuses must be mapped to
  // the log again; a mask was added, renamed or deleted (the chart's combo is refilled).
  Byte EditorRowsValid = 0;
  Byte ReparseNeeded = 0;
  Byte StatusesChanged = 0;
  Byte MasksChanged = 0;

  // Stand-ins for the mask editor's rows, which do not exist yet (only tests set them; the
  // editor's members replace them): show and read back the editor mask's rows, after the
  // options.
  void (*ShowMaskRowsHook)(BQELunit& unit) = nullptr;
  void (*ReadMaskRowsHook)(BQELunit& unit) = nullptr;
  // Frees the row controls of the editor mask's items. The masks are cleared only after it
  // ran, so it still finds them.
  void (*FreeMaskRowsHook)(BQELunit& unit) = nullptr;

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
  // A stand-in until the chart draws its status bar (only tests set it; the chart's
  // FitStatusNames replaces it, also in ChartStatusBarResize): gives the chart status bar the
  // height its status names need and repaints it. CalcValueRange calls it first.
  void (*FitChartStatusBarHook)(BQELunit& unit) = nullptr;

  // Options (chart/Options.cpp).
  void SetDefaultOptions();
  // Brings every option into the bounds the Common page's read-back keeps, with the same
  // fallbacks: run on the fields the settings reader stored, so none reaches a parse.
  void CorrectOptions();
  // Corrects fields that cannot work, writes the options into the Common page, then the rows.
  void ShowOptionsAndMaskRows();
  // While EditorRowsValid: reads the Common page back (raising ReparseNeeded where the time
  // base changed), then the rows.
  void ReadOptionsAndMaskRows();

  // ======================================================================================
  // settings/: the settings file and the built-in settings
  // ======================================================================================

  // The settings file: "Dravolin.ini" in the data folder.
  AnsiString SettingsPath;
  // Format version of the settings last read; it governs the rest of that read only.
  int32_t SettingsVersion = 0;

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
};
