#pragma once
// Checkpoints along the chains of line records of one kind (the next-of-the-same-kind links).
// The cursor needs, for every item, the record that a walk from the first record of its kind
// reaches before the cursor time; on a long log that walk costs milliseconds on every mouse
// move, while a binary search over the checkpoints and a few steps along the links give the
// same record. The index keeps list positions, never pointers, so an index that no longer fits
// the records can give a wrong answer but never reach freed memory.
#include <cstdint>
#include <functional>
#include <vector>

#include "PtrList.h"
#include "log/Records.h"

// The plain walks that the index stands in for, used where it cannot answer: the first record
// of the kind in list order, and the record reached from `first` along the links while the next
// record's time is not after `time`, when that record's time is not after it (else nullptr).
LDataCell* FirstOfKind(const TPtrList<LDataCell>& records, int32_t kind);
LDataCell* ReachAlongLinks(LDataCell* first, int64_t time);

class BChainIndex {
public:
  // Forgets every chain.
  void Clear();
  // Forgets every chain when the records are no longer those indexed (another count, another
  // first or last record).
  void Follow(const TPtrList<LDataCell>& records);
  // Called every StepEvery records of a long pass with the records passed and the whole
  // count: false breaks the pass off.
  using Step = std::function<bool(int64_t done, int64_t total)>;
  static constexpr int32_t StepEvery = 4096;

  // Indexes the chains of these kinds that are not indexed yet, in one pass over the records
  // (and a walk along the links of any chain that is not in list order). False, with nothing
  // added, when goOn broke the pass off.
  bool Add(const TPtrList<LDataCell>& records, const std::vector<int32_t>& kinds, const Step& goOn = {});

  // Whether the kind is indexed and its links join its records in list order (as the parser
  // links them), so that a pass over the list meets them in the order of the chain.
  bool InListOrder(int32_t kind) const;
  // The first record of the kind in list order, nullptr when none. False when the kind is not
  // indexed (or the index no longer fits): the caller finds it by itself.
  bool First(const TPtrList<LDataCell>& records, int32_t kind, LDataCell*& out) const;
  // The record reached by walking from the first record of the kind while the next record's time
  // is not after `time`, when that record's time is not after `time`; nullptr when there is no
  // such record. False as for First.
  bool Reach(const TPtrList<LDataCell>& records, int32_t kind, int64_t time, LDataCell*& out) const;

private:
  struct Chain {
    int32_t kind = 0;
    bool usable = false;         // false: positions could not be taken, the caller walks
    bool listOrder = false;      // the links join the records of the kind in list order
    std::vector<int32_t> marks;  // list position of every Spacing-th record of the chain
    std::vector<int64_t> upTo;   // latest time among records 1 .. that mark (record 0 excluded)
  };

  const Chain* Find(int32_t kind) const;
  static Chain Build(const TPtrList<LDataCell>& records, int32_t kind, const LDataCell* first);
  static LDataCell* At(const TPtrList<LDataCell>& records, int32_t position, int32_t kind);

  // Steps along the links after the binary search: small enough to be quick, large enough to
  // keep the index a fraction of the records' size.
  static constexpr int32_t Spacing = 16;

  std::vector<Chain> chains_;
  int32_t count_ = 0;
  const LDataCell* firstRecord_ = nullptr;
  const LDataCell* lastRecord_ = nullptr;
};
