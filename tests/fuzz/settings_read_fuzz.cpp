// libFuzzer target: any bytes read as the value stream of a settings container by the real
// central object. The target wraps the input in a valid container (a plain, typed body with
// the running key), so every input reaches the settings sequence: recent files, parameters,
// masks with their items, options and statuses. After each read the lists must hold only
// records the rest of the program can take.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <unordered_set>

#include "ComboBox.h"
#include "Forms.h"
#include "app/Qelunit.h"
#include "chart/Masks.h"
#include "settings/BeamFormat.h"
#include "settings/ConfigLoad.h"
#include "settings/SettingsSchema.h"

namespace {

BQELunit* unit = nullptr;
BConfigLoadMem* reader = nullptr;
std::string container;

void Check(bool holds)
{
  if (!holds)
    __builtin_trap();
}

// The header of an unpacked, typed container, then the input scrambled with the running key.
void Wrap(const uint8_t* data, size_t size)
{
  container.assign(BeamSignature, sizeof BeamSignature);
  container.append({0, 0, 0, 1});
  uint8_t blockSize[4];
  PutLE32(blockSize, BeamDefaultBlockSize);
  container.append(reinterpret_cast<const char*>(blockSize), 4);
  container.resize(BeamHeaderSize + size);
  uint8_t key = ScrambleKey;
  for (size_t i = 0; i < size; ++i)
    container[BeamHeaderSize + i] = static_cast<char>(data[i] ^ key++);
}

void CheckItem(const LTypeCell* item)
{
  Check(item != nullptr);
  Check(StorableItemId(item->Id) == item->Id);
  Check(StorableColor(item->Color) == item->Color);
}

void CheckLists(const BQELunit& u)
{
  std::unordered_set<int32_t> ids;
  for (int i = 0; i < u.TypeCells->Count(); ++i) {
    const LTypeCell* channel = u.TypeCells->Get(i);
    Check(channel != nullptr && IsStorableChannelId(channel->Id));
    Check(ids.insert(channel->Id).second);
  }
  for (int i = 0; i < u.MaskCells->Count(); ++i) {
    const LMaskCell* mask = u.MaskCells->Get(i);
    Check(mask != nullptr && mask->Items != nullptr);
    Check(StorableThickness(mask->Thickness) == mask->Thickness);
    Check(mask->YBottom != mask->YTop);
    for (int k = 0; k < mask->Items->Count(); ++k)
      CheckItem(mask->Items->Get(k));
  }
  for (int i = 0; i < u.StatusCells->Count(); ++i) {
    const LStatusCell* status = u.StatusCells->Get(i);
    Check(status != nullptr && status->Steps != nullptr && status->Steps->Count() == 0);
  }
  const int64_t records = int64_t{u.RecentCombo->Items()->Count()} + u.TypeCells->Count() + u.MaskCells->Count() +
                          u.StatusCells->Count();
  Check(records <= SettingsRecordLimit);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  Application->Initialize(*argc, *argv);
  unit = new BQELunit;
  reader = new BConfigLoadMem;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  Wrap(data, size);
  if (!reader->SetData(container.data(), static_cast<int64_t>(container.size())))
    abort();
  // What a load does first; then the reader never lets a failure escape.
  unit->ClearMaskCells();
  unit->ClearTypeCells();
  unit->ClearStatusCells();
  unit->ReadSettings(*reader);
  CheckLists(*unit);
  // What this run made goes in this run, as the fuzzer's leak check expects.
  unit->ClearMaskCells();
  unit->ClearTypeCells();
  unit->ClearStatusCells();
  unit->RecentCombo->Items()->Clear();
  Application->ProcessMessages();
  return 0;
}
