// Packing and unpacking the same inputs in memory with our block-sorting packer and with zlib,
// bzip2 and xz, printing the ratio (input / output) and the speed of both directions.
// bzip2 and xz take part when the target is built with DRAVOLIN_BENCH_OTHER_PACKERS and linked
// with libbz2 and liblzma.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "settings/ZZipStream.h"
#include "tools/loggen_core.h"

#ifdef DRAVOLIN_BENCH_OTHER_PACKERS
#include <bzlib.h>
#include <lzma.h>
#endif

namespace {

using Bytes = std::vector<uint8_t>;

// A typed value stream shaped like the settings: ints, bools, colours and three-language names.
class ValueStream {
public:
  void Int(int32_t v) { Tagged(6, uint32_t(v), 4); }
  void Bool(bool v) { Tagged(1, v, 1); }
  void Color(uint32_t v) { Tagged(21, v, 4); }
  void String(const std::string& s)
  {
    if (s.empty())
      return bytes.push_back(22);
    bytes.push_back(16);
    Tagged(3, uint32_t(s.size()), 1);
    bytes.insert(bytes.end(), s.begin(), s.end());
  }
  Bytes bytes;

private:
  void Tagged(uint8_t tag, uint32_t v, int width)
  {
    bytes.push_back(tag);
    for (int i = 0; i < width; ++i)
      bytes.push_back(uint8_t(v >> (8 * i)));
  }
};

Bytes Settings(int channels, int masks, int itemsPerMask, int recent)
{
  std::mt19937 rng(1);
  auto name = [&rng](const char* stem, int i, bool cyrillic) {
    std::string s = stem + std::to_string(i);
    if (cyrillic)
      for (char& c : s)
        if (c >= 'a' && c <= 'z')
          c = char(0xE0 + (c - 'a'));
    return s + (rng() % 3 == 0 ? " (mV)" : "");
  };
  ValueStream v;
  v.Int(4);
  v.Int(recent);
  for (int i = 0; i < recent; ++i)
    v.String("C:\\Logs\\car" + std::to_string(i) + "\\log_QEL_" + std::to_string(1000 + i) + ".qel");
  v.Int(channels);
  for (int i = 0; i < channels; ++i) {
    v.Int(i + 2);
    v.String(name("parametr", i, true));
    v.String(name("parameter ", i, false));
    v.String(name("Messwert ", i, false));
    v.Bool(true);
  }
  v.Int(masks);
  for (int m = 0; m < masks; ++m) {
    v.String(name("maska ", m, true));
    v.String(name("Mask QEL ", m, false));
    v.String(name("Maske ", m, false));
    v.Bool(m % 2);
    v.Int(1 + m % 3);
    v.Int(0);
    v.Int(6000);
    v.Int(itemsPerMask);
    for (int i = 0; i < itemsPerMask; ++i) {
      const int id = int(rng() % unsigned(channels)) + 2;
      v.Int(i % 7 == 6 ? 1 : id);
      v.String(name("parametr", id, true));
      v.String(name("parameter ", id, false));
      v.String(name("Messwert ", id, false));
      v.Int(i % 5 == 0 ? 100 : 1);
      v.Int(0);
      v.Color(0x000000FFu << (8 * (i % 3)));
      v.Bool(true);
      v.Bool(i % 2);
    }
  }
  for (int i : {0, 0, 40, 5, 10, 30, 60, 10, 10})
    v.Int(i);
  v.Bool(true);
  v.Int(22);
  v.Bool(true);
  v.Bool(false);
  v.Int(1);
  v.Int(20);
  for (int i = 0; i < 20; ++i)
    v.String("Status" + std::to_string(i));
  v.Bool(false);
  v.Int(30);
  v.Bool(true);
  v.Bool(false);
  v.Bool(false);
  v.Int(250);
  v.Int(45);
  v.Bool(true);
  return v.bytes;
}

Bytes GeneratedLog(uint64_t size)
{
  std::ostringstream out;
  loggen::Options options;
  options.size = size;
  loggen::Generate(out, options);
  const std::string s = out.str().substr(0, size);
  return Bytes(s.begin(), s.end());
}

Bytes RandomBytes(size_t size)
{
  std::mt19937 rng(2);
  Bytes b(size);
  for (auto& x : b)
    x = uint8_t(rng());
  return b;
}

Bytes RepeatedLine(size_t size)
{
  const std::string line = "F1011500    2350.0      Engine speed, rpm\r\n";
  Bytes b;
  while (b.size() < size)
    b.insert(b.end(), line.begin(), line.end());
  b.resize(size);
  return b;
}

// Our packer works as the container uses it: blocks of at most 6000000 bytes, options 0.
constexpr size_t BlockSize = 6000000;

Bytes OursPack(const Bytes& in)
{
  BZZipStream z;
  z.OptionA = z.OptionB = 0;
  Bytes out, buffer;
  for (size_t at = 0; at < in.size(); at += BlockSize) {
    const size_t n = std::min(BlockSize, in.size() - at);
    buffer.resize(n * 12 / 10 + 64);
    std::copy_n(in.begin() + long(at), n, buffer.begin());
    const int length = z.Pack(buffer.data(), int(n), int(buffer.size()));
    for (int i = 0; i < 4; ++i)
      out.push_back(uint8_t(uint32_t(length) >> (8 * i)));
    out.insert(out.end(), buffer.begin(), buffer.begin() + length);
  }
  return out;
}

Bytes OursUnpack(const Bytes& in, size_t original)
{
  BZZipStream z;
  Bytes out, buffer;
  for (size_t at = 0; at + 4 <= in.size();) {
    uint32_t length = 0;
    for (int i = 0; i < 4; ++i)
      length |= uint32_t(in[at + i]) << (8 * i);
    buffer.resize(std::max<size_t>(length, std::min(BlockSize, original - out.size())));
    std::copy_n(in.begin() + long(at) + 4, length, buffer.begin());
    const int n = z.Unpack(buffer.data(), int(length), int(buffer.size()));
    out.insert(out.end(), buffer.begin(), buffer.begin() + n);
    at += 4 + length;
  }
  return out;
}

// Raw deflate as the container's second method runs it (window bits -15, memory level 9).
Bytes DeflatePack(const Bytes& in, int level)
{
  z_stream s{};
  deflateInit2(&s, level, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY);
  Bytes out(deflateBound(&s, uLong(in.size())));
  s.next_in = const_cast<Bytef*>(in.data());
  s.avail_in = uInt(in.size());
  s.next_out = out.data();
  s.avail_out = uInt(out.size());
  deflate(&s, Z_FINISH);
  out.resize(s.total_out);
  deflateEnd(&s);
  return out;
}

Bytes DeflateUnpack(const Bytes& in, size_t original)
{
  z_stream s{};
  inflateInit2(&s, -15);
  Bytes out(original);
  s.next_in = const_cast<Bytef*>(in.data());
  s.avail_in = uInt(in.size());
  s.next_out = out.data();
  s.avail_out = uInt(out.size());
  inflate(&s, Z_FINISH);
  out.resize(s.total_out);
  inflateEnd(&s);
  return out;
}

#ifdef DRAVOLIN_BENCH_OTHER_PACKERS
Bytes Bzip2Pack(const Bytes& in)
{
  unsigned length = unsigned(in.size() + in.size() / 100 + 600);
  Bytes out(length);
  BZ2_bzBuffToBuffCompress(reinterpret_cast<char*>(out.data()), &length,
                           const_cast<char*>(reinterpret_cast<const char*>(in.data())), unsigned(in.size()), 9, 0,
                           0);
  out.resize(length);
  return out;
}

Bytes Bzip2Unpack(const Bytes& in, size_t original)
{
  unsigned length = unsigned(original);
  Bytes out(original);
  BZ2_bzBuffToBuffDecompress(reinterpret_cast<char*>(out.data()), &length,
                             const_cast<char*>(reinterpret_cast<const char*>(in.data())), unsigned(in.size()), 0,
                             0);
  out.resize(length);
  return out;
}

Bytes XzPack(const Bytes& in)
{
  Bytes out(lzma_stream_buffer_bound(in.size()));
  size_t length = 0;
  if (lzma_easy_buffer_encode(6, LZMA_CHECK_CRC64, nullptr, in.data(), in.size(), out.data(), &length,
                              out.size()) != LZMA_OK)
    length = 0;
  out.resize(length);
  return out;
}

Bytes XzUnpack(const Bytes& in, size_t original)
{
  Bytes out(original);
  uint64_t memoryLimit = UINT64_MAX;
  size_t inPos = 0, outPos = 0;
  if (lzma_stream_buffer_decode(&memoryLimit, 0, nullptr, in.data(), &inPos, in.size(), out.data(), &outPos,
                                out.size()) != LZMA_OK)
    outPos = 0;
  out.resize(outPos);
  return out;
}
#endif

struct Codec {
  const char* name;
  std::function<Bytes(const Bytes&)> pack;
  std::function<Bytes(const Bytes&, size_t)> unpack;
};

void PackBench(benchmark::State& state, const Codec* codec, const Bytes* input)
{
  Bytes packed;
  for (auto _ : state) {
    packed = codec->pack(*input);
    benchmark::DoNotOptimize(packed.data());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(input->size()));
  state.counters["ratio"] = double(input->size()) / double(packed.size());
}

void UnpackBench(benchmark::State& state, const Codec* codec, const Bytes* input)
{
  const Bytes packed = codec->pack(*input);
  Bytes unpacked;
  for (auto _ : state) {
    unpacked = codec->unpack(packed, input->size());
    benchmark::DoNotOptimize(unpacked.data());
  }
  if (unpacked != *input)
    state.SkipWithError("unpacked bytes differ");
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(input->size()));
  state.counters["ratio"] = double(input->size()) / double(packed.size());
}

}  // namespace

int main(int argc, char** argv)
{
  static const std::vector<std::pair<const char*, Bytes>> Inputs{
      {"settings_default", Settings(60, 8, 14, 0)}, {"settings_heavy", Settings(150, 40, 16, 12)},
      {"log_1MB", GeneratedLog(1 << 20)},           {"log_6MB", GeneratedLog(6000000)},
      {"random_1MB", RandomBytes(1 << 20)},         {"repeated_line_6MB", RepeatedLine(6000000)},
  };
  static const std::vector<Codec> Codecs{
      {"ours", OursPack, OursUnpack},
      {"zlib_container", [](const Bytes& in) { return DeflatePack(in, 9); }, DeflateUnpack},
      {"zlib_6", [](const Bytes& in) { return DeflatePack(in, 6); }, DeflateUnpack},
#ifdef DRAVOLIN_BENCH_OTHER_PACKERS
      {"bzip2_9", Bzip2Pack, Bzip2Unpack},
      {"xz_6", XzPack, XzUnpack},
#endif
  };
  for (const auto& [inputName, input] : Inputs)
    for (const Codec& codec : Codecs) {
      const std::string suffix = std::string(codec.name) + "/" + inputName;
      benchmark::RegisterBenchmark(("pack/" + suffix).c_str(), PackBench, &codec, &input)
          ->Unit(benchmark::kMillisecond);
      benchmark::RegisterBenchmark(("unpack/" + suffix).c_str(), UnpackBench, &codec, &input)
          ->Unit(benchmark::kMillisecond);
    }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
