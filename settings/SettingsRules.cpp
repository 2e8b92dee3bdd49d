// What the settings reader refuses or corrects (settings/SettingsSchema.h).
#include <algorithm>

#include "chart/Masks.h"
#include "log/Records.h"
#include "settings/SettingsSchema.h"

namespace {

// System colours carry their index in the low byte; the platform resolves indexes 0 to 30.
constexpr uint32_t SystemColorFlag = 0x80000000u;
constexpr uint32_t SystemColorCount = 31;
constexpr TColor MaxPlainColor = 0x00FFFFFF;

}  // namespace

bool IsStorableChannelId(int32_t id)
{
  return id >= 2 && id <= MaxStoredChannelId;
}

int32_t StorableItemId(int32_t id)
{
  return id == StatusItemId || id == NoChannelId || IsStorableChannelId(id) ? id : NoChannelId;
}

int32_t StorableThickness(int32_t thickness)
{
  return std::clamp(thickness, MinLineThickness, MaxLineThickness);
}

TColor StorableColor(TColor color)
{
  if (color >= 0 && color <= MaxPlainColor)
    return color;
  const uint32_t bits = static_cast<uint32_t>(color);
  if (bits >= SystemColorFlag && bits - SystemColorFlag < SystemColorCount)
    return color;
  return 0;
}

void MakeYAxisStorable(LMaskCell& mask)
{
  if (mask.YBottom != mask.YTop)
    return;
  const LMaskCell fresh;
  mask.YBottom = fresh.YBottom;
  mask.YTop = fresh.YTop;
}
