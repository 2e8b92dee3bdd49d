#pragma once
// Shared by the settings container tests: a writer over bytes the test keeps, typed values
// written and read back as text, the scrambling as the file format defines it, written out
// independently of the code under test, and a file size limit for saves that fail part way.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <sys/resource.h>
#include <vector>
#include <zlib.h>

#include "Stream.h"
#include "settings/ConfigLoad.h"
#include "settings/ConfigSave.h"
#include "support/FileSizeLimit.h"

// Appends to a string the test owns; refuses every byte past `limit`.
class SinkStream : public TStream {
public:
  explicit SinkStream(std::string* out, size_t limit = std::numeric_limits<size_t>::max()) : Out(out), Limit(limit)
  {
  }
  int32_t Read(void*, int32_t) override { return 0; }
  int32_t Write(const void* buffer, int32_t count) override
  {
    if (count <= 0 || Out->size() + size_t(count) > Limit)
      return 0;
    Out->append(static_cast<const char*>(buffer), size_t(count));
    return count;
  }
  int64_t Seek(int64_t, TSeekOrigin) override { return int64_t(Out->size()); }

private:
  std::string* Out;
  size_t Limit;
};

// Header choices of a writer.
struct BeamMode {
  uint8_t Compressed = 1, Method = 0, FixedKey = 0, Typed = 1;
  uint32_t BlockSize = 6000000;
};

// Exposes the end of writing, which the file writer's Commit uses, to the tests.
class TestSave : public BConfigSave {
public:
  using BConfigSave::BConfigSave;
  using BConfigSave::Finish;
};

// The whole container a writer produces for the given values.
inline std::string WriteContainer(const BeamMode& m, const std::function<void(TestSave&)>& write)
{
  std::string bytes;
  {
    TestSave save(new SinkStream(&bytes));
    std::tie(save.Compressed, save.Method, save.FixedKey, save.Typed, save.BlockSize) =
        std::tuple(m.Compressed, m.Method, m.FixedKey, m.Typed, m.BlockSize);
    write(save);
  }
  return bytes;
}

inline void SetBytes(BConfigLoadMem& reader, const std::string& bytes)
{
  reader.SetData(bytes.data(), int64_t(bytes.size()));
}

// A typed value of the container, by its kind: 'b'ool, b'y'te, 'i'nt, 'l'ong, 'c'olour, 's'tring.
struct Value {
  char Kind;
  int64_t Number = 0;
  std::string Text = {};
};

inline bool WriteValue(BConfigSave& save, const Value& v)
{
  const bool flag = v.Number != 0;
  const auto byte = uint8_t(v.Number);
  const auto number = int(v.Number);
  const auto word = uint32_t(v.Number);
  const auto color = TColor(v.Number);
  switch (v.Kind) {
  case 'b': return save.WriteBool(&flag);
  case 'y': return save.WriteByte(&byte);
  case 'i': return save.WriteInt(&number);
  case 'l': return save.WriteLong(&word);
  case 'c': return save.WriteColor(&color);
  default: return save.WriteString(v.Text);
  }
}

inline std::string WriteValues(const BeamMode& mode, const std::vector<Value>& values)
{
  return WriteContainer(mode, [&](TestSave& save) {
    for (const Value& v : values)
      ASSERT_TRUE(WriteValue(save, v));
  });
}

// The next value, read as the given kind; nothing when the read fails.
inline std::optional<Value> ReadValue(BConfigLoad& load, char kind)
{
  bool flag = false;
  uint8_t byte = 0;
  int number = 0;
  uint32_t word = 0;
  TColor color = 0;
  AnsiString text;
  bool ok;
  Value v{kind};
  switch (kind) {
  case 'b': ok = load.ReadBool(flag), v.Number = flag; break;
  case 'y': ok = load.ReadByte(byte), v.Number = byte; break;
  case 'i': ok = load.ReadInt(number), v.Number = number; break;
  case 'l': ok = load.ReadLong(word), v.Number = word; break;
  case 'c': ok = load.ReadColor(color), v.Number = color; break;
  default: ok = load.ReadString(text), v.Text = text; break;
  }
  return ok ? std::optional(v) : std::nullopt;
}

inline uint32_t Crc(const std::string& s)
{
  return uint32_t(crc32(0, reinterpret_cast<const Bytef*>(s.data()), uInt(s.size())));
}

// Values as text, one a line; long strings by their length and checksum.
inline std::string DumpValues(const std::vector<Value>& values)
{
  std::string s;
  for (const Value& v : values)
    s += v.Kind + std::string(":") +
         (v.Kind != 's'         ? std::to_string(v.Number)
          : v.Text.size() <= 40 ? v.Text
                                : std::to_string(v.Text.size()) + " bytes, crc " + std::to_string(Crc(v.Text))) +
         "\n";
  return s;
}

// Reads values of the kinds of `expected` in turn until one fails: the dump of those read,
// with "end" when an int more could not be read after them.
inline std::string ReadValues(BConfigLoad& load, const std::vector<Value>& expected)
{
  std::vector<Value> read;
  for (const Value& kind : expected) {
    std::optional<Value> v = ReadValue(load, kind.Kind);
    if (!v)
      return DumpValues(read);
    read.push_back(*v);
  }
  int more;
  return DumpValues(read) + (load.ReadInt(more) ? "more" : "end");
}

inline std::string ReadValues(const std::string& bytes, const std::vector<Value>& expected)
{
  BConfigLoadMem load;
  SetBytes(load, bytes);
  return ReadValues(load, expected);
}

// XOR with the running key from 0x6B, as stored in the body; its own inverse.
inline std::string Scramble(const std::string& bytes, bool fixedKey = false, uint8_t key = 0x6B)
{
  std::string out = bytes;
  for (char& c : out)
    c = char(uint8_t(c) ^ (fixedKey ? key : key++));
  return out;
}

inline std::string Le32(uint32_t v)
{
  return {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
}

inline std::string Header(uint8_t compressed, uint8_t method, uint8_t fixedKey, uint8_t typed, uint32_t blockSize)
{
  return "BEAM v.1" + std::string{char(compressed), char(method), char(fixedKey), char(typed)} + Le32(blockSize);
}
