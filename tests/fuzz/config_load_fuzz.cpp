// libFuzzer target: any bytes handed to the settings reader over memory. Every typed read
// is tried in a loop until one fails; a damaged packed block may raise Exception. One reader
// serves every run, started over by SetData as the program's memory reader is.
#include <cstddef>
#include <cstdint>

#include "Exceptions.h"
#include "settings/ConfigLoad.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  static BConfigLoadMem load;
  if (!load.SetData(data == nullptr ? reinterpret_cast<const uint8_t*>("") : data, static_cast<int64_t>(size)))
    return 0;
  // The first input byte picks the order of reads, so every read follows every other.
  unsigned pick = size > 0 ? data[0] : 0;
  try {
    for (int i = 0; i < 100000; ++i) {
      bool b;
      uint8_t byte;
      uint16_t word;
      int value;
      uint32_t length;
      TColor colour;
      AnsiString text;
      bool ok = false;
      switch ((pick + static_cast<unsigned>(i)) % 7) {
      case 0: ok = load.ReadBool(b); break;
      case 1: ok = load.ReadByte(byte); break;
      case 2: ok = load.ReadShort(word); break;
      case 3: ok = load.ReadInt(value); break;
      case 4: ok = load.ReadLong(length); break;
      case 5: ok = load.ReadColor(colour); break;
      default: ok = load.ReadString(text); break;
      }
      if (!ok)
        break;
    }
  } catch (const Exception&) {
    // a packed block that fails to unpack: the schema's catch turns this into a failed load
  }
  return 0;
}
