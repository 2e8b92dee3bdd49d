#pragma once
// The central object: owns the data, the options and the window's controls. Its members are
// defined in the folder of their subsystem; each banner below names the folder, and each
// member or group its defining file.
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "Events.h"
#include "StringList.h"
#include "System.h"
#include "Types.h"
#include "app/AppState.h"
#include "app/ControlMembers.h"
#include "chart/ChartState.h"
#include "chart/OptionFields.h"
#include "log/LogState.h"
#include "settings/SettingsState.h"
#include "texts/TextsState.h"

class BConfigLoad;
class TBitmap;
class TCanvas;
class TObject;
class TWinControl;
struct ChartFrame;
class TStatusBar;
class TStatusPanel;

// One class, as the design has it; its data is declared by the folder that owns it, in the
// plain structs it inherits.
class BQELunit : public AppState,
                 public ControlMembers,
                 public TextsState,
                 public LogState,
                 public ChartState,
                 public OptionFields,
                 public SettingsState {
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

  // Builds every control and binds the handlers that exist; once, from the constructor
  // (app/ControlTree.cpp).
  void CreateControls();
  // A member of this object as the closure of an event with its signature; handlers are bound
  // where their control is made: `Button->OnClick = Bind(&BQELunit::ButtonClick);`.
  template <class... Args>
  auto Bind(void (BQELunit::*handler)(Args...))
  {
    return [this, handler](Args... args) { (this->*handler)(std::forward<Args>(args)...); };
  }

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

  // The analysis report. F10 offers "analysis <log name> .txt" beside the log (in the home
  // folder without one), writes the report there under a temporary name, puts it in place and
  // opens it; a failed write leaves the old file and says why (app/SaveReport.cpp).
  void SaveReportActionExecute(TObject* Sender);
  AnsiString DefaultReportName();

private:
  // Parse again, map the statuses again, or recompute, as the change flags ask (app/PageChange.cpp).
  void ShowEditsOnChart();
  // The progress window's text and gauges, at its pumping pace; one log renamed
  // (app/RenameLogs.cpp).
  void ShowRenameProgress(const AnsiString& folder);
  void RenameOldLog(const AnsiString& folder, const AnsiString& name);
  int64_t RenameShownAtNs = 0;

public:
  // The progress window over a long operation outside app/ (app/ProgressWindow.cpp): shown
  // with the long operations' caption and button texts and empty gauges, the second of
  // secondMax steps; hidden, a failure dropped (it runs on the way out of a failure too); a
  // step's text with the second gauge; the main gauge, to scale. Nothing without the window.
  void ShowProgressWindow(int secondMax);
  void HideProgressWindow() noexcept;
  void ShowProgressStep(const AnsiString& text, int steps, int step);
  void ShowProgressPosition(int64_t max, int64_t position);

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
  // The Chart page made active (app/OpenLog.cpp); one step through the siblings, -1 or +1
  // (app/SiblingLogs.cpp).
  void ShowChartPage();
  void StepSibling(int step);

public:
  // ======================================================================================
  // texts/: the text table and the parameter dictionary
  // ======================================================================================

  // The user-visible text of a text id in the current language (texts/UiText.cpp).
  AnsiString& GetUiText(int id, AnsiString& out);
  // The chart status bar's note that the log was read only in part, in the current language;
  // no text id (texts/UiText.cpp).
  AnsiString& GetPartReadText(AnsiString& out);
  // The report's first line after a parse that broke down: the log was read only in part.
  AnsiString& GetPartialReadText(AnsiString& out);

  void ClearDictCells();
  void LoadDictionaryResource(const AnsiString& name);
  void RebuildDictionary();
  // TranslateMode: 0 ru->en, 1 ru->de, 2 en->ru, 3 de->ru, 4 en->de, 5 de->en. The last
  // matching entry decides; no match, or any other mode, gives "".
  AnsiString& TranslateName(const AnsiString& name, int TranslateMode, AnsiString& out);

  // ======================================================================================
  // log/: the records, the parser, the time base
  // ======================================================================================

  // Runs work once the message loop is back outside any parse (at once when none runs);
  // dropped when the object is freed before (log/ParseGuard.cpp).
  void WhenParseEnds(std::function<void()> work);

  // A seam for the parse benchmark and the tests, beside the progress window: called where a
  // parse reports its progress while ShowProgress is set, at the start of each stage (1 to 7)
  // with position -1, and with the maximum and the position every few megabytes of the text
  // load (stage 1) and every few thousand lines or records of the later stages, before it
  // looks at AbortFlag. The old-log walk and a report write under the progress window report
  // as stage 0 (the write with its record count and the records written).
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
  // The speed in force: clamped into ReadingSpeed, the frame period following it, shown.
  void TakeReadingSpeed(int32_t hz, const TEdit* readFrom = nullptr);
  // The one writer of the speed's display, SpeedEdit and FramePeriodEdit (in Hz): each shows
  // hz but the edit the options read-back has just read, which keeps the user's text.
  void ShowReadingSpeed(int32_t hz, const TEdit* readFrom = nullptr);

  // The analysis report of the last parse, streamed in pieces to write, which may refuse one
  // (false) and so end it; false as well when the user broke the write off
  // (log/AnalysisReport.cpp).
  bool StreamAnalysisReport(const std::function<bool(const char* data, size_t size)>& write, bool withProgress);
  enum class ReportWrite { Written, Failed, Broken };
  // The report into fileName, replacing it only once complete; reason: the system's words for
  // a failure. With the progress option on, a report of ReportProgressRecords records or more
  // shows the progress window, whose "Break" gives it up (log/AnalysisReport.cpp).
  ReportWrite WriteAnalysisReport(const AnsiString& fileName, AnsiString& reason);
  static int ReportProgressRecords;

private:
  // Stages of ParseLogText (log/ParseLog.cpp): all but the drawing, which follows them once
  // the parse no longer runs; false when broken off before the chart's values.
  bool ParseLogStages();
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

  // The mask editor (chart/MaskRows.cpp): the edited mask's rows, six controls per item made the
  // first time the item is shown and reused; FreeMaskRows deletes those of the editor mask, run
  // by ClearMaskCells while the masks still stand.
  void FreeMaskRows();
  // The editor's mask and its buttons (chart/MaskButtons.cpp): a mask picked in MaskCombo; new,
  // renamed (the three-name dialog) and deleted masks.
  void MaskComboChange(TObject* Sender);
  void NewMaskButtonClick(TObject* Sender);
  void RenameMaskButtonClick(TObject* Sender);
  void DeleteMaskButtonClick(TObject* Sender);
  // The hover bar over the rows and the wheel (chart/MaskRowHover.cpp): the bar follows the
  // mouse onto the row under it and moves that item up or down or deletes it.
  void MaskRowBoxMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
  void MaskRowEditMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
  void MaskRowLabelMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
  void MaskRowBoxMouseWheel(TObject* Sender, TShiftState Shift, int WheelDelta, TPoint MousePos, bool& Handled);
  void RowUpButtonClick(TObject* Sender);
  void RowDownButtonClick(TObject* Sender);
  void RowDeleteButtonClick(TObject* Sender);
  void FocusMaskRowBox();

private:
  // The mask parts of ShowOptionsAndMaskRows and ReadOptionsAndMaskRows (chart/MaskRows.cpp).
  void ShowEditorMask();
  void ReadEditorMask();
  // One item's row at row index i, its controls made when missing; its controls deleted.
  void ShowMaskRow(LTypeCell& item, int i);
  void DeleteRowControls(LTypeCell& item);
  // The row under the hover bar, and the bar placed over row r (chart/MaskRowHover.cpp).
  int HoverBarRow() const;
  void PlaceHoverBar(int r, const LTypeCell* item);

public:
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

  // The lists that show names (chart/ListFillers.cpp), refilled in the current language: every
  // parameter (only those marked shown while HideUnusedChannels), every status.
  void FillChannelList();
  void FillStatusList();
  // The editor's mask combo: the masks' names, the stored EditorMaskIndex selected (the first
  // entry when it names none, -1 when there are none), then that mask's rows shown.
  void FillMaskList();
  // The chart's mask selector: the masks' names, the stored ChartMaskIndex selected (the first
  // entry when it names none, -1 when there are none), then the chart drawn through it.
  void FillMaskSelector();
  // OnChange of ChartMaskCombo: the chosen mask's value range, chart and panels.
  void ChartMaskComboChange(TObject* Sender);
  // The selector's names alone, for a language switch, which draws the chart itself.
  void RefillChartMaskCombo();
  // Each parameter item takes the id and the English and German names of the first parameter
  // with its Russian name, or the id -1 when none has it; status items stay as they are.
  void RefreshMaskNames();

  // The parameter and status list pages of the Mask tab; each does nothing while a parse runs.
  // A line names the first parameter whose name in the current language is its text, or the
  // first status of that name. A double click adds the line's parameter or status to the
  // editor mask. The parameter list's menu hides or shows the line's parameter (hidden ones
  // are drawn grey), lists every parameter or only the shown ones, renames the parameter in
  // the three-name dialog (refused, with a 15-second message, when another parameter has one
  // of the new names) and deletes it; the status list's menu adds and deletes statuses
  // (chart/ChannelList.cpp, chart/ChannelRename.cpp, chart/StatusList.cpp).
  void ChannelListDblClick(TObject* Sender);
  void ChannelListDrawItem(TWinControl* Control, int Index, TRect Rect, TOwnerDrawState State);
  void HideChannelMenuClick(TObject* Sender);
  void ShowChannelMenuClick(TObject* Sender);
  void ShowAllChannelsMenuClick(TObject* Sender);
  void DeleteChannelMenuClick(TObject* Sender);
  void RenameChannelMenuClick(TObject* Sender);
  void RenameChannel();
  void StatusListDblClick(TObject* Sender);
  void AddStatusMenuClick(TObject* Sender);
  void DeleteStatusMenuClick(TObject* Sender);
  // The English and German names of every parameter and mask item from the dictionary, by
  // their Russian names; names it lacks stay (chart/ChannelRename.cpp).
  void DictRenameButtonClick(TObject* Sender);
  // The parameter or status a list line names; nullptr when none (chart/ChannelList.cpp,
  // chart/StatusList.cpp).
  LTypeCell* ChannelOfLine(const AnsiString& line) const;
  // The parameter of the channel list's selected line, whose index goes to selected; nullptr
  // while a parse runs or when there is none (chart/ChannelList.cpp).
  LTypeCell* SelectedChannel(int& selected);
  LStatusCell* StatusOfLine(const AnsiString& line) const;

  // Value range and values at the cursor (chart/ValueRange.cpp, chart/CursorValues.cpp).
  // CalcValueRange: status steps rebuilt, then the chart mask's plotted-value range and the
  // time span. CalcCursorValues: statuses, item values, caret position and fault interval at
  // CursorTime.
  void CalcValueRange();
  void CalcCursorValues();
  // The legend and the value window (chart/ValuePanels.cpp), the fault panel
  // (chart/FaultPanel.cpp): drawn into their pictures from what CalcCursorValues found, then
  // painted; nothing while a parse runs (the paints show the last pictures).
  void DrawValuePanels();
  void DrawErrorPanel();
  void LegendPaint(TObject* Sender);
  void ErrorPanelPaint(TObject* Sender);
  // The value column's text of an item: "-" without a value, a status's "active" or nothing,
  // a parameter's value with two decimals.
  AnsiString PanelValueText(const LTypeCell& item);

private:
  void MeasurePanelValue(TCanvas& canvas, const LTypeCell& item);
  // A legend or value-window picture; one row of it (framed box with the eye, or plain box);
  // one value cell (chart/ValuePanels.cpp).
  void DrawPanelPicture(TBitmap& picture, PanelPictureMemo& memo, const LMaskCell& mask, bool window,
                        int32_t width, int32_t height);
  std::string PanelLayout(TCanvas& canvas, const LMaskCell& mask, bool window, int32_t width, int32_t height);
  void DrawPanelRow(TCanvas& canvas, const LTypeCell& item, int32_t row, int32_t width, TColor background,
                    bool framed, const AnsiString& value);
  void DrawPanelValue(TCanvas& canvas, int32_t row, int32_t width, TColor background, const AnsiString& text);

public:
  // Every change of records, masks, items, parameters or statuses calls it, so nothing the
  // chart keeps between drawings points to freed or stale records (chart/ChartCaches.cpp).
  void DropChartCaches();
  // The view shows the whole log from its start, with nothing at the cursor: the defaults and
  // every new log (chart/ResetChartView.cpp).
  void ResetChartView();

  // The chart's interaction. The paint puts ChartBitmap on the screen with the crosshair and
  // the value window over it; a cursor move redraws only what those covered
  // (chart/ChartPaint.cpp). The mouse: a button's press, its release, a move (the cursor; with
  // a button pressed on the chart: the left pans, the right zooms around the press point), a
  // double click shows the whole log (chart/ChartMouse.cpp).
  void ChartPaint(TObject* Sender);
  void ChartMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void ChartMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void ChartMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
  void ChartDblClick(TObject* Sender);
  // The legend row under the pointer, also taken at a press; a click shows or hides its item
  // (chart/LegendMouse.cpp).
  void LegendMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
  void LegendMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void LegendClick(TObject* Sender);
  // The splitters store the fault panel's share and the column's width (chart/ChartSplitters.cpp).
  void LegendSplitterMoved(TObject* Sender);
  void ChartSplitterMoved(TObject* Sender);
  // F5 to F8: ZoomSeconds around the cursor on the shown chart, the pointer to the plot's middle
  // (chart/ZoomKeys.cpp).
  void ZoomF5ActionExecute(TObject* Sender);
  void ZoomF6ActionExecute(TObject* Sender);
  void ZoomF7ActionExecute(TObject* Sender);
  void ZoomF8ActionExecute(TObject* Sender);
  void ZoomToSeconds(int seconds);
  // The status bar: zoom, cursor time and value; the height its status names need; the names
  // panel, or the note of a log read in part (chart/StatusBarReadouts.cpp).
  void ShowZoomStatus();
  int FitStatusNames();
  void StatusBarDrawPanel(TStatusBar* StatusBar, TStatusPanel* Panel, const TRect& R);

private:
  void PaintChartLayers();
  void ZoomToPresetSeconds(int key);
  // The names panel shows the chart mask's statuses: a mask, its log on disk, a whole parse.
  bool StatusNamesShowable(LMaskCell*& mask);

public:
  // The chart renderer (chart/DrawChart.cpp): the current log through the chart mask into
  // ChartBitmap, with the geometry of the rendering in the chart state; the chart paint box is
  // hidden when there is nothing to draw.
  void DrawChart();

private:
  // Every drawn parameter curve, then every drawn status line (chart/DrawChart.cpp).
  void DrawChartCurves(TCanvas& canvas, const ChartFrame& frame, const LMaskCell& mask);

public:
  // F12 (chart/SaveJpeg.cpp): the chart as shown, crosshair and value window included, into a
  // JPEG file the user names; nothing while the chart is hidden. A failed write keeps the old
  // file and says which file and why.
  void SaveJpegActionExecute(TObject* Sender);

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
