// Synthetic engine-unit logs, written line by line as the recorder writes them:
// an 8-character key, then a value and a name, a status text, or nothing (a
// frame mark); fault blocks with "Actual errors:" / "Post errors:" sections; an
// erase marker now and then; and, at a chosen rate, malformed lines of the five
// kinds a reader has to file away.
#pragma once

#include "loggen_engine.h"
#include "loggen_families.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace loggen {

// The recorder reads this many frames a second; each framed line takes 1000 / speed ms.
inline constexpr int ReadingSpeedHz = 45;
inline constexpr double FramePeriodS = (1000 / ReadingSpeedHz) / 1000.0;
inline constexpr const char* EraseMarker = "Erase Errors";

using FaultSet = std::array<bool, std::size(FaultCodes)>;

struct Options {
  std::uint64_t size = 65536;  // bytes, reached at a line end
  std::uint64_t seed = 1;
  Family family = Family::QEL;
  double bad_rate = 0.005;  // malformed lines per good data line
};

inline const char* FamilyWord(Family f)
{
  switch (f) {
  case Family::QEL: return "QEL";
  case Family::PMS: return "PMS";
  case Family::LH: return "LH";
  }
  return "QEL";
}

// The family's word anywhere in the file name; failing that, the program's own
// naming rules: "LH" first, or 4/5 (QEL) or 6/7 (PMS) as the second character.
inline std::optional<Family> FamilyFromFileName(std::string_view path)
{
  const auto slash = path.find_last_of("/\\");
  const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  for (Family f : {Family::QEL, Family::PMS, Family::LH})
    if (name.find(FamilyWord(f)) != std::string_view::npos)
      return f;
  if (name.starts_with("LH") || name.starts_with("lh"))
    return Family::LH;
  if (name.size() >= 2 && (name[1] == '4' || name[1] == '5'))
    return Family::QEL;
  if (name.size() >= 2 && (name[1] == '6' || name[1] == '7'))
    return Family::PMS;
  return std::nullopt;
}

inline std::string Hex2(unsigned v)
{
  static constexpr char digits[] = "0123456789ABCDEF";
  return {digits[(v >> 4) & 15u], digits[v & 15u]};
}

// Fixed notation with a decimal point whatever the locale; never "-0.0".
inline std::string FormatValue(double v, int decimals)
{
  const double scale = std::pow(10.0, decimals);
  double r = std::round(v * scale) / scale;
  if (r == 0.0)
    r = 0.0;
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, r, std::chars_format::fixed, decimals);
  return std::string(buf, res.ptr);
}

// Key, four blanks, the value word, blanks up to a column, the name.
inline std::string ValueLine(const std::string& key, const std::string& word, std::string_view name)
{
  std::string line = key + "    " + word;
  if (word.size() < 8)
    line.append(8 - word.size(), ' ');
  line += ' ';
  line += name;
  return line;
}

class Generator {
public:
  explicit Generator(const Options& o)
      : o_(o), rng_(o.seed), engine_(rng_), params_(ParamsOf(o.family)), statuses_(StatusesOf(o.family))
  {
  }

  // Writes whole lines, each ended by CR LF, until at least `size` bytes are out.
  std::uint64_t Run(std::ostream& out)
  {
    std::uint64_t written = 0;
    std::vector<std::string> lines;
    while (written < o_.size) {
      lines.clear();
      Cycle(lines);
      for (const std::string& line : lines) {
        out.write(line.data(), static_cast<std::streamsize>(line.size()));
        out.write("\r\n", 2);
        written += line.size() + 2;
        if (written >= o_.size)
          break;
      }
    }
    return written;
  }

private:
  static std::string ParamKey(std::size_t i) { return "F101" + Hex2(0x10u + static_cast<unsigned>(i)) + "00"; }

  // One pass of the recorder over the unit: a frame mark, every parameter,
  // every status; now and then the fault memory.
  void Cycle(std::vector<std::string>& lines)
  {
    lines.push_back("F100" + Hex2(cycle_ >> 8) + Hex2(cycle_));
    for (std::size_t i = 0; i < params_.size(); ++i) {
      MaybeBad(lines);
      const ParamSpec& p = params_[i];
      lines.push_back(ValueLine(ParamKey(i), FormatValue(Read(engine_, p.channel), p.decimals), p.name));
    }
    for (std::size_t i = 0; i < statuses_.size(); ++i) {
      MaybeBad(lines);
      const StatusSpec& s = statuses_[i];
      const bool on = IsOn(engine_, s.flag);
      const std::string key = "F102" + Hex2(0x10u + static_cast<unsigned>(i)) + (on ? "01" : "00");
      const std::string_view text = on ? s.on_text : s.off_text;
      lines.push_back(text.empty() ? key + "    " : key + "     " + std::string(text));
    }
    engine_.Step(static_cast<double>(lines.size()) * FramePeriodS);
    if (++cycle_ >= next_fault_read_) {
      FaultRead(lines);
      next_fault_read_ = cycle_ + 8 + static_cast<unsigned>(rng_.Below(13));
    }
  }

  // Codes come and go; a code once seen stays stored until an erase.
  void FaultRead(std::vector<std::string>& lines)
  {
    for (std::size_t i = 0; i < actual_.size(); ++i) {
      if (actual_[i])
        actual_[i] = !rng_.Chance(0.3);
      else if (rng_.Chance(0.06))
        actual_[i] = stored_[i] = true;
    }
    const bool any_stored = std::find(stored_.begin(), stored_.end(), true) != stored_.end();
    if (rng_.Chance(any_stored ? 0.25 : 0.03)) {
      lines.push_back(std::string("F1140000    ") + EraseMarker);
      stored_ = actual_;  // the codes still present come back at once
    }
    lines.push_back("F10E0000");
    Section(lines, "Actual errors:", actual_);
    Section(lines, "Post errors:", stored_);
  }

  static void Section(std::vector<std::string>& lines, const char* header, const FaultSet& on)
  {
    bool opened = false;
    for (std::size_t i = 0; i < on.size(); ++i) {
      if (!on[i])
        continue;
      if (!opened)
        lines.push_back(header);
      opened = true;
      lines.push_back(FaultCodes[i]);
    }
    if (opened)
      lines.push_back("");  // closes the section
  }

  void MaybeBad(std::vector<std::string>& lines)
  {
    if (o_.bad_rate > 0.0 && rng_.Chance(o_.bad_rate))
      lines.push_back(BadLine());
  }

  // The five kinds in turn, so that even a short log gets each of them.
  std::string BadLine()
  {
    const std::size_t i = static_cast<std::size_t>(rng_.Below(static_cast<int>(params_.size())));
    const std::string key = ParamKey(i);
    const std::string_view name = params_[i].name;
    switch (bad_kind_++ % 5) {
    case 0:  // shorter than a key, down to an empty line
      return key.substr(0, static_cast<std::size_t>(rng_.Below(8)));
    case 1: {  // a blank inside the key
      std::string line = ValueLine(key, "12.5", name);
      line[static_cast<std::size_t>(rng_.Below(8))] = ' ';
      return line;
    }
    case 2: {  // fewer than four characters after the key
      static constexpr char chars[] = " 0123456789";
      std::string line = key;
      for (int k = 1 + rng_.Below(3); k > 0; --k)
        line += chars[rng_.Below(11)];
      return line;
    }
    case 3: {  // a value word that is no number
      static constexpr const char* words[] = {"n/a", "-", "1-2", "ERR", "1.2.3", "--.-"};
      return key + "    " + words[rng_.Below(6)] + " " + std::string(name);
    }
    default: {  // four characters of rest, or a lead that is neither 4 nor 5
      if (rng_.Chance(0.5))
        return key + Hex2(static_cast<unsigned>(rng_.Below(256))) + "0A";
      static constexpr int leads[] = {0, 1, 2, 3, 6, 8};
      return key + std::string(static_cast<std::size_t>(leads[rng_.Below(6)]), ' ') + "12.5 " + std::string(name);
    }
    }
  }

  Options o_;
  Rng rng_;
  Engine engine_;
  std::span<const ParamSpec> params_;
  std::span<const StatusSpec> statuses_;
  unsigned cycle_ = 0;
  unsigned next_fault_read_ = 3;
  unsigned bad_kind_ = 0;
  FaultSet actual_{};
  FaultSet stored_{};
};

inline std::uint64_t Generate(std::ostream& out, const Options& o)
{
  Generator g(o);
  return g.Run(out);
}

}  // namespace loggen
