#pragma once
// What a parse learns once about each distinct 8-character key of a log, found again by the
// key's bytes as one 64-bit number: a log has a few dozen keys on millions of lines.
#include <cstdint>
#include <cstring>
#include <deque>
#include <string_view>
#include <vector>

#include "SharedText.h"
#include "System.h"
#include "log/ChannelIndex.h"

struct KeyInfo {
  SharedText Key;
  bool Bad = false;       // a blank in the wrong place
  int Step = 0;           // time step of a line with this key
  SharedText StatusCode;  // the first 6 characters, made on the first status line
  // What the text after this key gave last time: the parameter of the name, or the shared
  // copy of the status text. Each holds the text itself to compare the next line with.
  const ChannelIndex::Entry* Channel = nullptr;
  bool HasStatusText = false;
  SharedText StatusText;
};

class KeyTable {
public:
  static uint64_t Pack(std::string_view key8)
  {
    uint64_t packed;
    std::memcpy(&packed, key8.data(), sizeof packed);
    return packed;
  }

  KeyInfo* Find(uint64_t packed) const
  {
    for (size_t i = Hash(packed) & mask_;; i = (i + 1) & mask_) {
      if (!infos_[i])
        return nullptr;
      if (keys_[i] == packed)
        return infos_[i];
    }
  }

  // For a key that Find did not find.
  KeyInfo& Add(uint64_t packed)
  {
    if ((store_.size() + 1) * 2 > keys_.size())
      Grow();
    KeyInfo& info = store_.emplace_back();
    Place(packed, &info);
    return info;
  }

private:
  // Keys differ mostly in their last characters, the high bytes of the number; a product's low
  // bits never see those, so they are folded down first. Otherwise the keys of a log pile up
  // in one run of slots and every look-up walks it.
  static size_t Hash(uint64_t packed)
  {
    const uint64_t folded = packed ^ (packed >> 32);
    return static_cast<size_t>((folded * 0x9E3779B97F4A7C15ull) >> 32);
  }

  void Place(uint64_t packed, KeyInfo* info)
  {
    size_t i = Hash(packed) & mask_;
    while (infos_[i])
      i = (i + 1) & mask_;
    keys_[i] = packed;
    infos_[i] = info;
  }

  void Grow()
  {
    std::vector<uint64_t> keys(keys_.size() * 2);
    std::vector<KeyInfo*> infos(keys.size(), nullptr);
    keys.swap(keys_);
    infos.swap(infos_);
    mask_ = keys_.size() - 1;
    for (size_t i = 0; i < keys.size(); ++i)
      if (infos[i])
        Place(keys[i], infos[i]);
  }

  std::vector<uint64_t> keys_ = std::vector<uint64_t>(64);
  std::vector<KeyInfo*> infos_ = std::vector<KeyInfo*>(64, nullptr);
  size_t mask_ = 63;
  std::deque<KeyInfo> store_;  // stays where it is while the table grows
};
