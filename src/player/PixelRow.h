#pragma once

#include <QtGlobal>

// Compares runs of pixels side by side, the inner loop of the search for a recorded image.
namespace PixelRow {

// How many of the n pixels of a and b (desktop colours, red in the low byte; the top byte is not
// looked at) differ by more than `tolerance` in one of their colour channels. The widest vector
// instructions the processor has do the work, eight or four pixels at a time.
int CountDiffering(const quint32* a, const quint32* b, int n, int tolerance);

// The summed colour difference of the n pixels: how far apart they are, channel by channel, all
// added up (the top byte is not looked at).
qint64 SumDifference(const quint32* a, const quint32* b, int n);

} // namespace PixelRow
