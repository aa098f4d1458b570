#include "player/PlayRange.h"

#include <algorithm>

int PlayRange::FirstRow(int rows) const
{
    return only.empty() ? std::clamp(first, 1, rows - 1) : only.front();
}

int PlayRange::NextRow(int row, int rows) const
{
    if (only.empty())
        return row < rows - 1 ? row + 1 : 0;
    const auto next = std::upper_bound(only.begin(), only.end(), row);
    return next != only.end() && *next < rows ? *next : 0;
}
