#pragma once
// The walk over the lines of a log: each line becomes a line record, a message in one of
// the five lists of unrecognised lines, or only a step of the running time. Fault sections
// are followed by either algorithm: anywhere (old) or inside F10E blocks only (new).
#include <cstdint>
#include <string_view>

#include "System.h"
#include "log/ChannelIndex.h"
#include "log/KeyTable.h"
#include "log/TextPool.h"

class BQELunit;
class TStringList;

class LogLineParser {
public:
  // Takes the options and the texts of the current language at the start of the parse.
  explicit LogLineParser(BQELunit& unit);

  // One line of the log, with its 0-based number, in file order.
  void Parse(std::string_view line, int64_t number);

private:
  void ParseOld(std::string_view line, int64_t number);
  void ParseNew(std::string_view line, int64_t number);
  // The line grammar outside fault sections.
  void ParseGeneral(std::string_view line, int64_t number);
  void ParseValue(KeyInfo& key, std::string_view trimmedRest, std::string_view line, int64_t number);
  KeyInfo& NewKey(uint64_t packed, std::string_view key);
  const SharedText& StatusCode(KeyInfo& key);
  const SharedText& StatusText(KeyInfo& key, std::string_view text);
  // Sets the sign when the whole line is one of the two section headers.
  bool IsSectionHeader(std::string_view line);

  void AddRecord(int64_t position, int64_t time, const SharedText& code, int32_t kind, double value,
                 const SharedText& text);
  void AddRecord(const SharedText& code, int32_t kind, double value, const SharedText& text)
  {
    AddRecord(position_, time_, code, kind, value, text);
  }
  void AddMessage(TStringList& list, std::string_view line, int64_t number);

  BQELunit& unit_;
  const bool oldAlgorithm_;
  AnsiString indexText_;  // text 91, the head of every message
  AnsiString eraseText_;  // text 92, the erase marker
  SharedText eraseShared_;
  TextPool texts_;
  KeyTable keys_;
  ChannelIndex channels_;

  int64_t time_ = 0;
  int64_t position_ = 0;
  double sign_ = 0.0;
  bool inSection_ = false;
  bool inBlock_ = false;
  bool blockWithoutHeader_ = false;
  int64_t blockStartPosition_ = 0;
  int64_t blockStartTime_ = 0;
};
