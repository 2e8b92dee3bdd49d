// The sources of the settings at start: the settings file, the built-in default settings
// "defini", and the defaults made in code when neither can be read.
#include "ResourceStream.h"
#include "Resources.h"
#include "app/Qelunit.h"
#include "settings/ConfigLoad.h"
#include "settings/SettingsSchema.h"

bool BQELunit::LoadSettingsFile(const AnsiString& path)
{
  ClearMaskCells();
  ClearTypeCells();
  ClearStatusCells();
  try {
    BConfigLoadFile reader(path);  // a missing or unreadable file raises here
    return ReadSettings(reader);
  } catch (...) {
    return false;
  }
}

bool BQELunit::LoadSettingsResource(const AnsiString& name)
{
  ClearMaskCells();
  ClearTypeCells();
  ClearStatusCells();
  if (!FindResource(name, SettingsResourceType))
    return false;
  try {
    BConfigLoadMem reader;
    {
      TResourceStream resource(name, SettingsResourceType);
      reader.SetData(resource.Memory(), resource.Size());
    }
    return ReadSettings(reader);
  } catch (...) {
    return false;
  }
}

void BQELunit::MakeDefaultSettings()
{
  SetDefaultOptions();
  ClearTypeCells();
  MakeDefaultMasks();
  MakeDefaultStatuses();
}
