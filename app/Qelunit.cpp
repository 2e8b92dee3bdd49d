#include "app/Qelunit.h"

#include "AppPaths.h"
#include "Bitmap.h"
#include "IgnoreFailure.h"
#include "Panel.h"
#include "Paths.h"
#include "app/Progress.h"
#include "app/Qelform.h"
#include "settings/SettingsSchema.h"

BQELunit::BQELunit(TQELMainForm* owner)
{
  Owner = owner;
  SiblingList = new TStringList;
  SiblingList->SetSorted(true);
  SiblingList->SetCaseDistinct(true);

  ErrorCells = new TPtrList<LErrorCell>;
  DataCells = new TPtrList<LDataCell>;
  MaskCells = new TPtrList<LMaskCell>;
  TypeCells = new TPtrList<LTypeCell>;
  StatusCells = new TPtrList<LStatusCell>;
  DictCells = new TPtrList<LDictCell>;

  BadValueLines = new TStringList;
  ShortRestLines = new TStringList;
  ShortLines = new TStringList;
  BadKeyLines = new TStringList;
  OtherLines = new TStringList;

  ChartBitmap = new TBitmap;
  LegendBitmap = new TBitmap;
  ValueWindowBitmap = new TBitmap;
  FaultPanelBitmap = new TBitmap;

  SetDefaultOptions();

  CreateControls();

  LoadDictionaryResource("dictred");
  RebuildDictionary();

  if (Owner)
    Progress = new BProgress(MainPanel, &AbortFlag);

  // After the dictionary: settings of old versions take names from it.
  SettingsPath = JoinPath(DataFolder(), SettingsFileName);
  if (!LoadSettingsFile(SettingsPath) && !LoadSettingsResource(DefaultSettingsResource))
    MakeDefaultSettings();

  StartUp();
}

BQELunit::~BQELunit()
{
  // First: no tick may open a log into an object being freed.
  StopStartTimer();

  // The settings are kept as they stand now; a failed save leaves the old file, unreported.
  IgnoreFailure([&] { ReadOptionsAndMaskRows(); });
  IgnoreFailure([&] { SaveSettingsFile(SettingsPath); });
  // Freeing the records of a large log takes a moment: the window is not left frozen on the
  // screen meanwhile.
  if (Owner)
    IgnoreFailure([&] { Owner->HideAtOnce(); });

  delete SiblingList;
  delete BadValueLines;
  delete ShortRestLines;
  delete ShortLines;
  delete BadKeyLines;
  delete OtherLines;

  ClearErrorCells();
  delete ErrorCells;
  ClearDataCells();
  delete DataCells;
  ClearTypeCells();
  delete TypeCells;
  ClearMaskCells();
  delete MaskCells;
  ClearStatusCells();
  delete StatusCells;
  ClearDictCells();
  delete DictCells;

  delete ChartBitmap;
  delete LegendBitmap;
  delete ValueWindowBitmap;
  delete FaultPanelBitmap;
  delete EyeBitmap;
  delete Progress;
  // The form outlives this object: its actions must reach nothing from here on.
  UnbindFormHandlers();
  // Last: the panel frees every control placed on it.
  delete MainPanel;
}
