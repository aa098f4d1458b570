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
int PhaseOf(int topLeft)
{
    return (kBlock - topLeft % kBlock) % kBlock;
}

// Red, green and blue added up: a pixel off by more than the tolerance in one channel is off by
// at most 3 * 255 in all, one within it by at most 3 * tolerance.
int Grey(quint32 pixel)
{
    return int(pixel & 0xFF) + int((pixel >> 8) & 0xFF) + int((pixel >> 16) & 0xFF);
}

// How many differing pixels block sums off by `distance` prove, rounded down from
// ceil((distance - slack) / spread): (x + spread - 1) * floor(65536 / spread) / 65536, x >= 0.
int Witnesses(int distance, int slack, int spread)
{
    const int over = std::max(distance - slack, 0) + spread - 1;
    return (over * (65536 / spread)) >> 16;
}

// The area's block sums under the placements, and the image's blocks to compare with them.
struct Work
{
    const quint16* plane;
    const std::ptrdiff_t* offsets; // of each block from the first placement's first grid block
    const quint16* sums;
    std::size_t blocks;
};

void BoundsScalar(const Work& work, int count, int limit, int slack, int spread, quint16* out)
{
    std::fill(out, out + BlockBound::kChunk, quint16(0));
    for (std::size_t b = 0; b < work.blocks; ++b) {
        bool allPast = true;
        for (int k = 0; k < count; ++k) {
            const int distance = std::abs(int(work.sums[b]) - int(work.plane[work.offsets[b] + k]));
            out[k] = quint16(std::min(int(out[k]) + Witnesses(distance, slack, spread), 0xFFFF));
            allPast = allPast && out[k] > limit;
        }
        if (allPast)
            return;
    }
}

#if defined(CW_BLOCKBOUND_X86)
// Sixteen placements a vector, four vectors: the whole chunk in registers.
__attribute__((target("avx2"))) void BoundsAvx2(const Work& work, int count, int limit, int slack, int spread,
                                                quint16* out)
{
    const __m256i slackLane = _mm256_set1_epi16(short(slack));
    const __m256i roundLane = _mm256_set1_epi16(short(spread - 1));
    const __m256i scaleLane = _mm256_set1_epi16(short(65536 / spread));
    const __m256i pastLane = _mm256_set1_epi16(short(std::min(limit, 0x7FFE) + 1));
    // Lanes past `count` start past the limit, so that they never keep the chunk going.
    __m256i bound[4];
    for (int v = 0; v < 4; ++v) {
        alignas(32) quint16 start[16];
        for (int k = 0; k < 16; ++k)
            start[k] = v * 16 + k < count ? 0 : 0xFFFF;
        bound[v] = _mm256_load_si256(reinterpret_cast<const __m256i*>(start));
    }
    for (std::size_t b = 0; b < work.blocks; ++b) {
        const __m256i image = _mm256_set1_epi16(short(work.sums[b]));
        const quint16* screen = work.plane + work.offsets[b];
        __m256i past = _mm256_set1_epi16(-1);
        for (int v = 0; v < 4; ++v) {
            const __m256i here = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(screen + v * 16));
            const __m256i distance = _mm256_or_si256(_mm256_subs_epu16(image, here), _mm256_subs_epu16(here, image));
            const __m256i over = _mm256_adds_epu16(_mm256_subs_epu16(distance, slackLane), roundLane);
            bound[v] = _mm256_adds_epu16(bound[v], _mm256_mulhi_epu16(over, scaleLane));
            // Unsigned "at least limit + 1" as max(bound, limit + 1) == bound.
            past = _mm256_and_si256(past, _mm256_cmpeq_epi16(_mm256_max_epu16(bound[v], pastLane), bound[v]));
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
    : m_slack(kBlock * kBlock * 3 * tolerance), m_spread(3 * (255 - tolerance))
{
    int mean = 0;
    for (const quint32 pixel : image)
        mean += Grey(pixel);
    mean = mean * kBlock * kBlock / int(std::max<std::size_t>(image.size(), 1));
    for (int phaseY = 0; phaseY < kBlock; ++phaseY) {
        for (int phaseX = 0; phaseX < kBlock; ++phaseX) {
            Phase& phase = m_phases[std::size_t(phaseY * kBlock + phaseX)];
            std::vector<Block> blocks;
            for (int top = phaseY; top + kBlock <= kSide; top += kBlock) {
                for (int left = phaseX; left + kBlock <= kSide; left += kBlock) {
                    if (!known.contains(QRect(left, top, kBlock, kBlock)))
                        continue;
                    Block block{(left - phaseX) / kBlock, (top - phaseY) / kBlock, 0};
                    for (int j = top; j < top + kBlock; ++j) {
                        for (int i = left; i < left + kBlock; ++i)
                            block.sum += Grey(image[std::size_t(j * kSide + i)]);
                    }
                    blocks.push_back(block);
                }
            }
            // A block far from the image's mean tells it from plain ground soonest.
            std::stable_sort(blocks.begin(), blocks.end(), [mean](const Block& a, const Block& b) {
                return std::abs(a.sum - mean) > std::abs(b.sum - mean);
            });
            phase.blocks = std::move(blocks);
            for (const Block& block : phase.blocks)
                phase.sums.push_back(quint16(block.sum));
        }
    }
}

__attribute__((target_clones("avx2", "default"))) void BlockBound::SetArea(const quint32* pixels, std::size_t stride,
                                                                           int width, int height)
{
    m_gridWidth = width / kBlock;
    const int gridHeight = height / kBlock;
    // Room past the last block for a whole chunk of lanes, read and never used.
    m_grid.assign(std::size_t(m_gridWidth) * std::size_t(gridHeight) + kChunk, 0);
    for (Phase& phase : m_phases) {
        phase.offsets.clear();
        for (const Block& block : phase.blocks)
            phase.offsets.push_back(std::ptrdiff_t(block.row) * m_gridWidth + block.column);
    }
    for (int gy = 0; gy < gridHeight; ++gy) {
        quint16* row = m_grid.data() + std::ptrdiff_t(gy) * m_gridWidth;
        for (int j = 0; j < kBlock; ++j) {
            const quint32* line = pixels + std::size_t(gy * kBlock + j) * stride;
            for (int gx = 0; gx < m_gridWidth; ++gx) {
                int sum = 0;
                for (int i = 0; i < kBlock; ++i)
                    sum += Grey(line[gx * kBlock + i]);
                row[gx] = quint16(row[gx] + sum);
            }
        }
    }
}

void BlockBound::Bounds(int first, int y, int count, int limit, quint16* out) const
{
    const int phaseX = PhaseOf(first);
    const int phaseY = PhaseOf(y);
    const Phase& phase = m_phases[std::size_t(phaseY * kBlock + phaseX)];
    const std::size_t at =
        std::size_t((y + phaseY) / kBlock) * std::size_t(m_gridWidth) + std::size_t((first + phaseX) / kBlock);
    const Work work{m_grid.data() + at, phase.offsets.data(), phase.sums.data(), phase.blocks.size()};
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
