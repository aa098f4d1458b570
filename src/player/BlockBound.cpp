#include "player/BlockBound.h"

#include <algorithm>
#include <cstdlib>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define CW_BLOCKBOUND_X86 1
#endif

namespace {
constexpr int kSide = 51;
constexpr int kBlock = BlockBound::kBlock;

// The image column (row) where the first whole grid block under a placement starts.
int Phase(int topLeft)
{
    return (kBlock - topLeft % kBlock) % kBlock;
}

// How many differing pixels a channel sum off by `distance` proves, rounded down from
// ceil((distance - slack) / spread): (x + spread - 1) * floor(65536 / spread) / 65536, x >= 0.
int Witnesses(int distance, int slack, int spread)
{
    const int over = std::max(distance - slack, 0) + spread - 1;
    return (over * (65536 / spread)) >> 16;
}

// The area's block sums under the placements, and the image's blocks to compare with them.
struct Work
{
    const quint16* planes[3];
    const std::ptrdiff_t* offsets; // of each block from the first placement's first grid block
    const quint16* sums;           // three a block
    std::size_t blocks;
};

void BoundsScalar(const Work& work, int count, int limit, int slack, int spread, quint16* out)
{
    const std::size_t blocks = work.blocks;
    const quint16* sums = work.sums;
    std::fill(out, out + BlockBound::kChunk, quint16(0));
    for (std::size_t b = 0; b < blocks; ++b) {
        bool allPast = true;
        for (int k = 0; k < count; ++k) {
            int most = 0;
            for (std::size_t c = 0; c < 3; ++c)
                most =
                    std::max(most, Witnesses(std::abs(int(sums[b * 3 + c]) - int(work.planes[c][work.offsets[b] + k])),
                                             slack, spread));
            out[k] = quint16(std::min(int(out[k]) + most, 0xFFFF));
            allPast = allPast && out[k] > limit;
        }
        if (allPast)
            return;
    }
}

#if defined(CW_BLOCKBOUND_X86)
// Sixteen placements a lane, four lanes: the whole chunk in registers.
__attribute__((target("avx2"))) void BoundsAvx2(const Work& work, int count, int limit, int slack, int spread,
                                                quint16* out)
{
    const std::size_t blocks = work.blocks;
    const quint16* sums = work.sums;
    const __m256i slackLane = _mm256_set1_epi16(short(slack));
    const __m256i roundLane = _mm256_set1_epi16(short(spread - 1));
    const __m256i scaleLane = _mm256_set1_epi16(short(65536 / spread));
    // Lanes past `count` start past the limit, so that they never keep the chunk going.
    __m256i bound[4];
    for (int v = 0; v < 4; ++v) {
        alignas(32) quint16 start[16];
        for (int k = 0; k < 16; ++k)
            start[k] = v * 16 + k < count ? 0 : 0xFFFF;
        bound[v] = _mm256_load_si256(reinterpret_cast<const __m256i*>(start));
    }
    const __m256i limitLane = _mm256_set1_epi16(short(std::min(limit, 0x7FFE)));
    for (std::size_t b = 0; b < blocks; ++b) {
        __m256i past = _mm256_set1_epi16(-1);
        for (int v = 0; v < 4; ++v) {
            __m256i most = _mm256_setzero_si256();
            for (std::size_t c = 0; c < 3; ++c) {
                const __m256i image = _mm256_set1_epi16(short(sums[b * 3 + c]));
                const __m256i screen =
                    _mm256_loadu_si256(reinterpret_cast<const __m256i*>(work.planes[c] + work.offsets[b] + v * 16));
                const __m256i distance =
                    _mm256_or_si256(_mm256_subs_epu16(image, screen), _mm256_subs_epu16(screen, image));
                const __m256i over = _mm256_adds_epu16(_mm256_subs_epu16(distance, slackLane), roundLane);
                most = _mm256_max_epu16(most, _mm256_mulhi_epu16(over, scaleLane));
            }
            bound[v] = _mm256_adds_epu16(bound[v], most);
            // Unsigned "greater than" as max(bound, limit + 1) == bound.
            const __m256i beyond = _mm256_cmpeq_epi16(
                _mm256_max_epu16(bound[v], _mm256_add_epi16(limitLane, _mm256_set1_epi16(1))), bound[v]);
            past = _mm256_and_si256(past, beyond);
        }
        if (_mm256_movemask_epi8(past) == -1)
            break;
    }
    for (int v = 0; v < 4; ++v)
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + v * 16), bound[v]);
}
#endif

bool HasAvx2()
{
#if defined(CW_BLOCKBOUND_X86)
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
#else
    return false;
#endif
}
} // namespace

BlockBound::BlockBound(const std::vector<quint32>& image, const QRect& known, int tolerance)
    : m_slack(kBlock * kBlock * tolerance), m_spread(255 - tolerance)
{
    quint32 mean[3] = {0, 0, 0};
    for (const quint32 pixel : image) {
        for (int c = 0; c < 3; ++c)
            mean[c] += (pixel >> (8 * c)) & 0xFF;
    }
    for (quint32& channel : mean)
        channel = channel * kBlock * kBlock / quint32(std::max<std::size_t>(image.size(), 1));
    for (int phaseY = 0; phaseY < kBlock; ++phaseY) {
        for (int phaseX = 0; phaseX < kBlock; ++phaseX) {
            std::vector<Block>& blocks = m_phases[std::size_t(phaseY * kBlock + phaseX)];
            std::vector<int> telling;
            for (int top = phaseY; top + kBlock <= kSide; top += kBlock) {
                for (int left = phaseX; left + kBlock <= kSide; left += kBlock) {
                    if (!known.contains(QRect(left, top, kBlock, kBlock)))
                        continue;
                    Block block{(left - phaseX) / kBlock, (top - phaseY) / kBlock, {}};
                    for (int j = top; j < top + kBlock; ++j) {
                        for (int i = left; i < left + kBlock; ++i) {
                            const quint32 pixel = image[std::size_t(j * kSide + i)];
                            for (std::size_t c = 0; c < 3; ++c)
                                block.sum[c] = quint16(block.sum[c] + ((pixel >> (8 * c)) & 0xFF));
                        }
                    }
                    blocks.push_back(block);
                    // A block far from the image's mean colour tells it from plain ground soonest.
                    int distance = 0;
                    for (std::size_t c = 0; c < 3; ++c)
                        distance += std::abs(int(block.sum[c]) - int(mean[c]));
                    telling.push_back(distance);
                }
            }
            std::vector<std::size_t> order(blocks.size());
            for (std::size_t i = 0; i < order.size(); ++i)
                order[i] = i;
            std::stable_sort(order.begin(), order.end(),
                             [&telling](std::size_t a, std::size_t b) { return telling[a] > telling[b]; });
            std::vector<Block> sorted;
            for (const std::size_t i : order) {
                sorted.push_back(blocks[i]);
                for (const quint16 sum : blocks[i].sum)
                    m_sums[std::size_t(phaseY * kBlock + phaseX)].push_back(sum);
            }
            blocks = std::move(sorted);
        }
    }
}

__attribute__((target_clones("avx2", "default"))) void BlockBound::SetArea(const quint32* pixels, std::size_t stride,
                                                                           int width, int height)
{
    m_gridWidth = width / kBlock;
    const int gridHeight = height / kBlock;
    // Room past the last block for a whole chunk of lanes, read and never used.
    const std::size_t size = std::size_t(m_gridWidth) * std::size_t(gridHeight) + kChunk;
    for (std::vector<quint16>& plane : m_grid)
        plane.assign(size, 0);
    for (std::size_t phase = 0; phase < m_phases.size(); ++phase) {
        m_offsets[phase].clear();
        for (const Block& block : m_phases[phase])
            m_offsets[phase].push_back(std::ptrdiff_t(block.row) * m_gridWidth + block.column);
    }
    std::vector<quint16> row(std::size_t(m_gridWidth) * 3);
    for (int gy = 0; gy < gridHeight; ++gy) {
        std::fill(row.begin(), row.end(), quint16(0));
        for (int j = 0; j < kBlock; ++j) {
            const quint32* line = pixels + std::size_t(gy * kBlock + j) * stride;
            for (int gx = 0; gx < m_gridWidth; ++gx) {
                quint32 red = 0;
                quint32 green = 0;
                quint32 blue = 0;
                for (int i = 0; i < kBlock; ++i) {
                    const quint32 pixel = line[gx * kBlock + i];
                    red += pixel & 0xFF;
                    green += (pixel >> 8) & 0xFF;
                    blue += (pixel >> 16) & 0xFF;
                }
                row[std::size_t(gx)] = quint16(row[std::size_t(gx)] + red);
                row[std::size_t(m_gridWidth + gx)] = quint16(row[std::size_t(m_gridWidth + gx)] + green);
                row[std::size_t(2 * m_gridWidth + gx)] = quint16(row[std::size_t(2 * m_gridWidth + gx)] + blue);
            }
        }
        for (std::size_t c = 0; c < 3; ++c)
            std::copy_n(row.begin() + std::ptrdiff_t(c) * m_gridWidth, m_gridWidth,
                        m_grid[c].begin() + std::ptrdiff_t(gy) * m_gridWidth);
    }
}

void BlockBound::Bounds(int first, int y, int count, int limit, quint16* out) const
{
    const int phaseX = Phase(first);
    const int phaseY = Phase(y);
    const std::size_t phase = std::size_t(phaseY * kBlock + phaseX);
    const std::size_t at =
        std::size_t((y + phaseY) / kBlock) * std::size_t(m_gridWidth) + std::size_t((first + phaseX) / kBlock);
    const Work work{{m_grid[0].data() + at, m_grid[1].data() + at, m_grid[2].data() + at},
                    m_offsets[phase].data(),
                    m_sums[phase].data(),
                    m_phases[phase].size()};
    static const bool avx2 = HasAvx2();
#if defined(CW_BLOCKBOUND_X86)
    if (avx2) {
        BoundsAvx2(work, count, limit, m_slack, m_spread, out);
        return;
    }
#endif
    (void)avx2;
    BoundsScalar(work, count, limit, m_slack, m_spread, out);
}
