#include "app/ResourceGraphic.h"

#include "Bitmap.h"
#include "ResourceStream.h"
#include "Resources.h"

void LoadResourceGraphic(TGraphic* graphic, const AnsiString& resourceName)
{
  static const AnsiString type = "RT_RCDATA";
  if (!graphic || !FindResource(resourceName, type))
    return;
  TResourceStream stream(resourceName, type);
  graphic->LoadFromStream(stream);
}

void LoadResourceGraphicOrNone(TGraphic* graphic, const AnsiString& resourceName) noexcept
{
  try {
    LoadResourceGraphic(graphic, resourceName);
  } catch (...) {
  }
}
