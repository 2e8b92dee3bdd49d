// libFuzzer target: any bytes parsed as a log by the real central object, through a file in
// memory. The first byte picks the language and the fault algorithm; the rest is the log.
// After each parse the records must still hang together, and the in-place value reading must
// agree with CleanNumber and StrToFloat on the first word of the input.
#include <sys/mman.h>
#include <unistd.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "Exceptions.h"
#include "Forms.h"
#include "Numbers.h"
#include "app/Qelunit.h"
#include "log/ValueWord.h"

namespace {

BQELunit* unit = nullptr;

void Check(bool holds)
{
  if (!holds)
    __builtin_trap();
}

void CheckRecords(const BQELunit& u)
{
  const int count = u.DataCells->Count();
  for (int i = 0; i < count; ++i) {
    const LDataCell* cell = u.DataCells->Get(i);
    Check(cell->Index == i);
    Check(cell->Time >= 0 && cell->TextPos >= 0);
    if (cell->Next)
      Check(cell->Next->Prev == cell && cell->Next->Kind == cell->Kind && cell->Next->Index > i);
    if (cell->Prev)
      Check(cell->Prev->Next == cell && cell->Prev->Index < i);
    if (i > 0) {
      const LDataCell* before = u.DataCells->Get(i - 1);
      Check(cell->Time >= before->Time && cell->TextPos >= before->TextPos);
    }
    if (cell->Kind >= 2) {
      Check(std::isfinite(cell->Value));
      Check(cell->Code.Length() == 8);
    }
  }
}

void CheckValueWord(std::string_view input)
{
  const std::string_view word = input.substr(0, std::min<size_t>(input.find(' '), 80));
  double fast = 0;
  const bool fastOk = ReadValueWord(word, fast);
  double slow = 0;
  bool slowOk = false;
  try {
    const AnsiString clean = BQELunit::CleanNumber(AnsiString(word));
    if (!clean.empty()) {
      slow = StrToFloat(clean);
      slowOk = std::isfinite(slow);
    }
  } catch (const EConvertError&) {
  }
  Check(fastOk == slowOk);
  if (fastOk)
    Check(std::memcmp(&fast, &slow, sizeof fast) == 0);
}

} // namespace

// The text view loads the font database, and fontconfig leaks a block while it parses its
// configuration: the system library's leak, not the parser's.
extern "C" const char* __lsan_default_suppressions()
{
  return "leak:libfontconfig.so\n";
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  Application->Initialize(*argc, *argv);
  unit = new BQELunit;
  unit->TextLinePeriod = 10;
  unit->FramePeriod = 22;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  const uint8_t options = size > 0 ? data[0] : 0;
  const std::string_view log = size > 0 ? std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1)
                                        : std::string_view();
  CheckValueWord(log);

  const int fd = memfd_create("log", 0);
  if (fd < 0)
    return 0;
  for (size_t done = 0; done < log.size();) {
    const ssize_t written = write(fd, log.data() + done, log.size() - done);
    if (written <= 0)
      break;
    done += static_cast<size_t>(written);
  }
  unit->Language = options % 3;
  unit->OldErrorAlgorithm = (options >> 2) & 1;
  unit->ClearTypeCells();  // every input starts from no known parameter
  unit->LogFileName = "/proc/self/fd/" + std::to_string(fd);
  unit->ParseLogText();
  close(fd);
  CheckRecords(*unit);
  return 0;
}
