#pragma once
// Block-sorting packer of the settings container: packs one block at a time,
// in place in the caller's buffer, into a self-contained packed block.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace zzip {
class ArithDecoder;
}

class BZZipStream {
public:
  BZZipStream();
  ~BZZipStream();

  int Status;       // 0 OK; -1 memory; -2 checksum mismatch; -3 null input; -4 input too long
  uint8_t OptionA;  // may choose the text, full-alphabet and x86 modes
  uint8_t OptionB;  // may try a delta filter

  // Packs `length` bytes at buffer into a packed block over the same buffer; the buffer holds
  // `capacity` bytes. Returns the block length, or -1 with Status -3 / -4.
  int Pack(uint8_t* buffer, int length, int capacity);
  // Unpacks the `packedLength`-byte block at buffer over the same buffer (capacity bytes);
  // returns the unpacked length. Damaged blocks raise Exception with an empty message.
  int Unpack(uint8_t* buffer, int packedLength, int capacity);

  // Block flags.
  static constexpr uint16_t FlagRunLength = 0x0001;
  static constexpr uint16_t FlagFinalByteFix = 0x0100;
  static constexpr uint16_t FlagTrigram = 0x0080;
  static constexpr uint16_t FlagStored = 0x8000;
  static constexpr int MaxInputLength = 0x1400000;

  // Modes and delta types as stored in the flags.
  enum { ModeNone = 0, ModeText = 1, ModeDelta = 2, ModeReversed = 3, ModeCallReversed = 4 };
  enum { DeltaRecord = 6 };

  // Stages, each over a byte range. Encoders that change the length write into `out`.
  static uint32_t Checksum(const uint8_t* data, int n);
  void ChooseFilters(const uint8_t* data, int n, bool allowModes);
  static void RunLengthEncode(const uint8_t* in, int n, std::vector<uint8_t>& out);
  static void RunLengthDecode(const uint8_t* in, int n, std::vector<uint8_t>& out, int limit);
  static bool RecordTransformApplies(const uint8_t* data, int n);
  static void RecordTransformEncode(uint8_t* data, int n);
  static void RecordTransformDecode(uint8_t* data, int n);
  static int ChooseDelta(const uint8_t* data, int n);
  static void DeltaEncode(uint8_t* data, int n, int type);
  static void DeltaDecode(uint8_t* data, int n, int type);
  static void CallFilterEncode(uint8_t* data, int n);
  static void CallFilterDecode(uint8_t* data, int n);
  static void ReverseBytes(uint8_t* data, int n);
  static void TextFilterEncode(const uint8_t* in, int n, std::vector<uint8_t>& out);
  static void TextFilterDecode(const uint8_t* in, int n, std::vector<uint8_t>& out);
  static void TrigramEncode(const uint8_t* in, int n, std::vector<uint8_t>& out);
  static void TrigramDecode(const uint8_t* in, int n, std::vector<uint8_t>& out, int limit);
  // Writes the last column of the sorted suffixes to out; returns the primary index.
  static int SortBlock(const uint8_t* data, int n, uint8_t* out);
  static void UnsortBlock(const uint8_t* last, int n, int primary, uint8_t* out);
  static void MoveToFrontEncode(uint8_t* data, int n);
  static void MoveToFrontDecode(uint8_t* data, int n);
  // Moves ranks of 2 and above to `side`, leaving 2 in their place; returns the largest (1 if none).
  static int SplitSymbols(uint8_t* data, int n, std::vector<uint8_t>& side);
  static void MergeSymbols(uint8_t* data, int n, const uint8_t* side, int sideCount);

  // Coders: the main stream (symbols 0..2) and the side stream (symbols 2..largest).
  int EncodeSymbols(int count, const uint8_t* symbols, std::vector<uint8_t>& out);
  void DecodeSymbols(int count, uint8_t* output, const uint8_t* input, int inputLength);
  int EncodeHighRanks(int count, const uint8_t* symbols, int largest, std::vector<uint8_t>& out);
  void DecodeHighRanks(int count, uint8_t* output, int largest, const uint8_t* input, int inputLength);

  // Filters chosen for the current block.
  bool RunLengthFlag;
  bool TrigramFlag;
  int Mode;
  int DeltaType;
  int LargestSide;
  uint32_t CheckValue;

private:
  // Frequency-sorted adaptive model of the side stream: ranks 1..Size, descending counts.
  struct RankModel {
    int Size;
    int Symbol[257];  // symbol at each rank
    int RankOf[256];  // rank of each symbol
    uint32_t Count[257];
    uint32_t Cum[257];  // sum of the counts of the ranks after this one
    uint32_t Total;
  };
  void ResetModel();
  void InitRankModels(int largest);
  static void InitRankTable(RankModel& model, int size);
  // The interval [low, high) of a main symbol in a model with these counts, and the symbol whose
  // interval scaled by `range` holds `scaled`; the update of model number `model`, whose counts
  // are those of MainCounts[model] or a copy of them that the coder keeps while it codes.
  static void OrderContextEnc(uint64_t counts, int symbol, uint32_t& low, uint32_t& high);
  static int OrderContextDec(uint64_t counts, uint32_t scaled, uint32_t range, uint32_t& low, uint32_t& high);
  void UpdateMainModel(uint64_t& counts, int model, int symbol, int context);
  // Decodes the run of zeros that starts at output[i] in context 0; returns where it ends.
  static int DecodeZeros(zzip::ArithDecoder& coder, uint64_t& counts, int i, int count, uint8_t* output);
  static void UpdateRankModel(RankModel& model, int rank);
  static void UpdateGroupModel(RankModel& model, int rank);
  bool GroupOf(int value, int& group, int& offset) const;

  // The filter chain over the work area; returns the block flags, widens the size hint.
  uint16_t ApplyFilters(int n, uint32_t& hint);
  // The packed block, or nothing when it would not shrink or not fit in `capacity` bytes;
  // `flags` receives the filters chosen either way.
  std::vector<uint8_t> PackBlock(const uint8_t* buffer, int n, int capacity, uint16_t& flags);
  // The filters undone over the work area in the reverse order of packing.
  void UndoFilters(uint16_t flags, int stageLimit, int outputLimit);
  void Allocate(size_t size);
  void Free();

  // Main-stream models: three counts each, the context of the last three symbols. A model's counts
  // share one word, 21 bits each from symbol 0 up, so that the read after an update can be served
  // from the one store the update makes.
  uint64_t MainCounts[14];
  bool ZeroRun;
  // Side-stream models: the group model and one offset model per group.
  RankModel GroupModel;
  RankModel OffsetModels[9];
  int GroupSize[10];
  bool GroupEmpty[10];
  int GroupCount;

  std::vector<uint8_t> Work;
};
