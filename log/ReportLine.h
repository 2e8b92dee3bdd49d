#pragma once
// One record line of the analysis report, formatted in place: a report of a large log has
// tens of millions of them, so no field goes through a string of its own.
#include <cstddef>

#include "log/Records.h"

// Bytes a record line can take before its text: every field at its widest.
constexpr size_t ReportLineHeadRoom = 128;

// The line of a record up to its text: index, position, code, time, kind and value in their
// fixed columns. A number wider than its column widens the line instead of being cut; the
// code is cut to 8 characters. Returns the end of what was written.
char* FormatReportLineHead(char* out, const LDataCell& cell);

// The same bytes as FloatToStrF(value, ffFixed, 10, 2) with the current DecimalSeparator, at
// most 32 of them. Returns their end.
char* FormatFixedTwoDecimals(char* out, double value);
