// libFuzzer target: any bytes parsed as a log by the real central object, through a file in
// memory. The first three bytes pick the options the parse reads, each within the bounds the
// settings reader and the option edits keep it in; the rest is the log. After each parse the
// records must still hang together, and the in-place value reading must agree with
// CleanNumber and StrToFloat on the first word of the log.
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "Exceptions.h"
#include "Forms.h"
#include "Memo.h"
#include "Numbers.h"
#include "app/Qelunit.h"
#include "chart/Options.h"
#include "log/ReadingSpeed.h"
#include "log/ValueWord.h"

namespace {

BQELunit* unit = nullptr;
int logFile = -1;  // the log of every run, rewritten in place
constexpr size_t OptionBytes = 3;

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

// Byte 0: the language and the fault algorithm; byte 1: the text-line period, both ends of
// its range included; byte 2: the reading speed, which gives the frame period. Missing
// bytes count as 0.
void SetOptions(const uint8_t* data, size_t size)
{
  uint8_t options[OptionBytes] = {};
  if (size > 0)
    std::memcpy(options, data, std::min(size, OptionBytes));
  unit->Language = options[0] % 3;
  unit->OldErrorAlgorithm = (options[0] >> 2) & 1;
  unit->TextLinePeriod = 1 + options[1] * (MaxTextLinePeriod - 1) / 255;
  unit->ReadingSpeed = MinReadingSpeed + options[2] % (MaxReadingSpeed - MinReadingSpeed + 1);
}

// Back to the state before the run: every run starts from no known parameter, and what a run
// made is freed in the same run. Otherwise the fuzzer suspects a leak after each run and scans
// the whole heap for it.
void ClearRun()
{
  unit->ClearDataCells();
  unit->ClearErrorCells();
  unit->CursorDataCell = nullptr;
  unit->CursorFaultInterval = nullptr;
  unit->CursorChains.Clear();
  for (TStringList* list :
       {unit->BadValueLines, unit->ShortRestLines, unit->ShortLines, unit->BadKeyLines, unit->OtherLines})
    list->Clear();
  for (int i = 0; i < unit->StatusCells->Count(); ++i)
    unit->ClearStatusSubList(unit->StatusCells->Get(i));
  unit->ClearTypeCells();
  unit->TextMemo->Lines()->Clear();
  // The text view's scroll bars queue their signals: delivered here, not piled up.
  Application->ProcessMessages();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  Application->Initialize(*argc, *argv);
  unit = new BQELunit;
  // The log lies alone in a folder of its own: the parse looks through the log's folder for a
  // recorder log each run, and a crowded folder would make that the bulk of a run.
  const char* tmp = getenv("TMPDIR");
  static std::string folder = std::string(tmp && *tmp ? tmp : "/tmp") + "/parse_line_fuzz.XXXXXX";
  static std::string name;
  if (!mkdtemp(folder.data()))
    abort();
  name = folder + "/log.qel";
  // The bytes stay in memory: a link to a memory file, not a file on disk rewritten each run.
  logFile = memfd_create("log", 0);
  if (logFile < 0 || symlink(("/proc/self/fd/" + std::to_string(logFile)).c_str(), name.c_str()) != 0)
    abort();
  atexit([] {
    unlink(name.c_str());
    rmdir(folder.c_str());
  });
  unit->LogFileName = name;
  ClearRun();  // no parameter of the default settings either
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  SetOptions(data, size);
  const size_t skip = std::min(size, OptionBytes);
  const std::string_view log(reinterpret_cast<const char*>(data) + skip, size - skip);
  CheckValueWord(log);

  if (ftruncate(logFile, 0) != 0)
    abort();
  for (size_t done = 0; done < log.size();) {
    const ssize_t written = pwrite(logFile, log.data() + done, log.size() - done, static_cast<off_t>(done));
    if (written <= 0)
      abort();
    done += static_cast<size_t>(written);
  }
  unit->ParseLogText();
  CheckRecords(*unit);
  ClearRun();
  return 0;
}
