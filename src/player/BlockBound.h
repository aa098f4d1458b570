#pragma once

#include <QRect>
#include <QtGlobal>

#include <array>
#include <cstddef>
#include <vector>

// A quick lower bound on how many pixels of a placement of the recorded image differ from the
// screen beyond the channel tolerance, from sums of red + green + blue over 4 x 4 blocks. In a
// block whose sums are D apart, each pixel within the tolerance is off by 3 * tolerance at most
// and each other one by 3 * 255 at most, so at least (D - 48 * tolerance) / (3 * (255 - tolerance))
// of them differ; the blocks of a placement do not overlap, so their counts add up. Most
// placements on a real screen pass the limit after some blocks, before a pixel is compared: only
// the rest are counted pixel by pixel, and the answer stays what the whole count gives.
class BlockBound
{
public:
    static constexpr int kBlock = 4;
    // How many placements one call bounds, side by side in vector lanes.
    static constexpr int kChunk = 64;

    // `image`: the recorded 51 x 51 pixels in desktop colours; `known`: the part of it compared.
    BlockBound(const std::vector<quint32>& image, const QRect& known, int tolerance);

    // Adds up the area's pixels (width x height, rows `stride` apart) over a grid of blocks from
    // its top left.
    void SetArea(const quint32* pixels, std::size_t stride, int width, int height);

    // Bounds the placements whose top left is (first + 4 k, y) in the area, k < count <= kChunk,
    // each wholly inside it, into out[k]; stops adding once all of them are past `limit`.
    void Bounds(int first, int y, int count, int limit, quint16* out) const;

private:
    struct Block
    {
        int column = 0; // from the first whole grid block under the placement
        int row = 0;
        int sum = 0;
    };
    // The image's blocks that line up with the grid for one way a placement's top left can fall
    // on it, most telling first.
    struct Phase
    {
        std::vector<Block> blocks;
        std::vector<quint16> sums;
        std::vector<std::ptrdiff_t> offsets; // in the area's grid
    };

    // 4 * row + column: the pixels from a placement's top left to the first grid block under it.
    std::array<Phase, kBlock * kBlock> m_phases;
    int m_slack = 0;  // 48 * tolerance
    int m_spread = 0; // 3 * (255 - tolerance)
    int m_gridWidth = 0;
    std::vector<quint16> m_grid; // the area's block sums
};
