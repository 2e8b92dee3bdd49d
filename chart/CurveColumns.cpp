// Parameter curves in the straight style, one pixel column at a time. Inside a column every
// segment is vertical, and together they cover the run from the column's lowest to its highest
// sample (a thin pen too: each sample's pixel starts a segment, the column's last one the
// segment to the next column); so one upright stroke over that run and the segment from the
// column's last sample to the next column's first draw what all the segments draw. The curve's
// segments are solid and of one colour, so their order does not matter. Only the walk's very last
// sample leaves its own pixel out: the column it lies in is drawn sample by sample. Whole blocks
// of records that fall into one column are taken from the summaries.
#include <algorithm>
#include <cmath>

#include "chart/ChainIndex.h"
#include "chart/ChartDrawing.h"
#include "chart/ChartFrame.h"
#include "chart/ChartSummary.h"
#include "chart/TimeOrder.h"

namespace {

// One summarised parameter: where the walk along its chain starts and the last record in view,
// the items that show it, and the samples of the column being filled.
struct Track {
  const LDataCell* start = nullptr;  // the last record before the window, if any
  const LDataCell* last = nullptr;   // the last record up to the window's right edge
  std::vector<size_t> items;
  int x = 0;
  int64_t count = 0;  // samples in the column; a block taken whole counts as two
  double first = 0, last_ = 0, min = 0, max = 0;
  bool drawn = false;            // a column before this one was drawn
  std::vector<TPoint> previous;  // by item: the last sample of that column
};

class Columns {
public:
  Columns(const ChartFrame& frame, const std::vector<const LTypeCell*>& items, bool thin,
          std::vector<Strokes>& strokes)
      : frame_(frame), items_(items), thin_(thin), strokes_(strokes)
  {
  }

  int X(int64_t time) const
  {
    int x = 0;
    frame_.X(time, x);  // the window has a span: it never fails
    return x;
  }
  void Add(Track& t, int x, double value) { Add(t, x, value, value, value, value, 1); }
  void Add(Track& t, int x, const BChartSummary::Entry& e) { Add(t, x, e.First, e.Min, e.Max, e.Last, 2); }

  // The stroke into the column from the last sample of the one before, and one upright stroke
  // over the column's run (with a thin pen one pixel longer, for the pen leaves its last pixel
  // out).
  void Flush(Track& t)
  {
    if (!t.count)
      return;
    for (size_t i : t.items) {
      TPoint first, low, high, last;
      if (!At(i, t.x, t.first, first) || !At(i, t.x, t.min, low) || !At(i, t.x, t.max, high) ||
          !At(i, t.x, t.last_, last))
        continue;  // not met: the summaries hold only numbers that scale
      if (t.drawn)
        Stroke(i, t.previous[i], first);
      TPoint top = low.y <= high.y ? low : high;
      TPoint bottom = low.y <= high.y ? high : low;
      if (thin_)
        ++bottom.y;
      Stroke(i, top, bottom);
      t.previous[i] = last;
    }
    t.drawn = true;
    t.count = 0;
  }
  // The samples of the walk's last column one by one, after the stroke into it.
  void Samples(Track& t, const LDataCell* from, const LDataCell* to)
  {
    for (size_t i : t.items) {
      bool started = t.drawn;
      TPoint at = t.previous[i];
      for (const LDataCell* cell = from;; cell = cell->Next) {
        TPoint p;
        if (At(i, t.x, cell->Value, p)) {
          if (started)
            Stroke(i, at, p);
          at = p;
          started = true;
        }
        if (cell == to)
          break;
      }
    }
    t.count = 0;
  }
  bool At(size_t item, int x, double value, TPoint& p) const
  {
    int va = 0;
    int y = 0;
    if (!PlottedValue(items_[item]->Factor, items_[item]->Offset, value, va) || !frame_.Y(va, y))
      return false;
    p = TPoint{ChartFrame::PictureX(x), frame_.PictureY(y)};
    return true;
  }
  void Stroke(size_t item, TPoint from, TPoint to) { strokes_[item].push_back({from, to}); }

private:
  void Add(Track& t, int x, double first, double min, double max, double last, int64_t count)
  {
    if (t.count && t.x != x)
      Flush(t);
    if (!t.count) {
      t.x = x;
      t.first = first;
      t.min = min;
      t.max = max;
    }
    t.min = std::min(t.min, min);
    t.max = std::max(t.max, max);
    t.last_ = last;
    t.count += count;
  }

  const ChartFrame& frame_;
  const std::vector<const LTypeCell*>& items_;
  bool thin_;
  std::vector<Strokes>& strokes_;
};

}  // namespace

bool SummarisedCurves(const ChartFrame& frame, const TPtrList<LDataCell>& records, const BChartSummary& summary,
                      const BChainIndex& chains, const std::vector<const LTypeCell*>& items, bool thin,
                      std::vector<Strokes>& strokes)
{
  strokes.assign(items.size(), {});
  if (!summary.TimeOrdered() || !frame.HasTimeScale() || !frame.HasValueScale())
    return false;
  // The items that can be drawn so: their kind summarised and indexed, a record in view or
  // before it (else the plain walk draws its one segment).
  std::vector<Track> tracks(static_cast<size_t>(summary.Slots()));
  bool any = false;
  for (size_t i = 0; i < items.size(); ++i) {
    const LTypeCell* item = items[i];
    const int32_t slot = item ? summary.Slot(item->Id) : -1;
    LDataCell* first = nullptr;
    LDataCell* last = nullptr;
    LDataCell* before = nullptr;
    if (slot < 0 || !chains.First(records, item->Id, first) ||
        !chains.Reach(records, item->Id, frame.TimeTo, last) ||
        !chains.Reach(records, item->Id, frame.BeforeWindow(), before) || !first || !last)
      continue;
    Track& t = tracks[static_cast<size_t>(slot)];
    t.start = before;
    t.last = last;
    t.items.push_back(i);
    t.previous.resize(items.size());
    any = true;
  }
  if (!any)
    return false;

  Columns columns(frame, items, thin, strokes);
  for (Track& t : tracks)
    if (!t.items.empty() && t.start)
      columns.Add(t, columns.X(t.start->Time), t.start->Value);

  // The records in the window, whole blocks where a block lies in one column.
  const int32_t from = PassedUpTo(records, 0, frame.BeforeWindow());
  const int32_t to = PassedUpTo(records, from, frame.TimeTo);
  const int32_t slots = summary.Slots();
  for (int64_t pos = from; pos < to;) {
    int32_t level = summary.Levels() - 1;
    for (; level >= 0; --level) {
      const int32_t shift = BChartSummary::LevelShift(level);
      const int64_t block = pos >> shift;
      if ((block << shift) == pos && pos + (int64_t{1} << shift) <= to &&
          columns.X(summary.FirstTime(level, block)) == columns.X(summary.LastTime(level, block)))
        break;
    }
    if (level >= 0) {
      const int64_t size = BChartSummary::LevelSize(level);
      const int64_t block = pos >> BChartSummary::LevelShift(level);
      const int column = columns.X(summary.FirstTime(level, block));
      const BChartSummary::Entry* entries = summary.Entries(level, block);
      for (int32_t s = 0; s < slots; ++s)
        if (!std::isnan(entries[s].First) && !tracks[static_cast<size_t>(s)].items.empty())
          columns.Add(tracks[static_cast<size_t>(s)], column, entries[s]);
      pos += size;
      continue;
    }
    const LDataCell* cell = records.Get(static_cast<int32_t>(pos++));
    const int32_t slot = summary.Slot(cell->Kind);
    if (slot >= 0 && !tracks[static_cast<size_t>(slot)].items.empty())
      columns.Add(tracks[static_cast<size_t>(slot)], columns.X(cell->Time), cell->Value);
  }

  // The first record after the window ends the walk, else the curve ends in view; the column of
  // the walk's last sample goes in sample by sample.
  for (Track& t : tracks) {
    if (t.items.empty())
      continue;
    const LDataCell* end = t.last->Next ? t.last->Next : t.last;
    if (end != t.last)
      columns.Add(t, columns.X(end->Time), end->Value);
    const int column = t.x;
    const LDataCell* head = end;
    while (head != t.start && head->Prev && columns.X(head->Prev->Time) == column)
      head = head->Prev;
    columns.Samples(t, head, end);
  }
  return true;
}
