#include "app/ResourceGraphic.h"

#include "Bitmap.h"
#include "ResourceStream.h"
#include "Resources.h"

void LoadResourceGraphic(TGraphic* graphic, const AnsiString& resourceName)
{
  static const AnsiString ResourceType = "RT_RCDATA";
  if (!graphic || !FindResource(resourceName, ResourceType))
    return;
  TResourceStream stream(resourceName, ResourceType);
  graphic->LoadFromStream(stream);
}

void LoadResourceGraphicOrNone(TGraphic* graphic, const AnsiString& resourceName) noexcept
{
  try {
    LoadResourceGraphic(graphic, resourceName);
  } catch (...) {
  }
}
