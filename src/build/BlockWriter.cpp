#include "build/BlockWriter.h"

#include <algorithm>
#include <cstring>

#include "core/StreamFormat.h"


namespace sw {

namespace {

constexpr int kMaxBits = 15;
constexpr int kMaxBlBits = 7;
constexpr int kLiterals = 256;
constexpr int kEndBlock = 256;
constexpr int kLengthCodes = 29;
constexpr int kRep3To6 = kRepeatPrevious;
constexpr int kRepZero3To10 = kRepeatZeroShort;
constexpr int kRepZero11To138 = kRepeatZeroLong;
constexpr unsigned kLitBufSize = 8192;
constexpr unsigned kDistBufSize = 8192;

constexpr int kExtraLBits[kLengthCodes] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                           2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr int kExtraDBits[CBlockWriter::kDCodes] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                                    6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
constexpr int kExtraBlBits[CBlockWriter::kBlCodes] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 3, 7};

unsigned ReverseBits(unsigned code, int length)
{
    unsigned result = 0;
    for (int i = 0; i < length; ++i) {
        result = (result << 1) | (code & 1);
        code >>= 1;
    }
    return result;
}

}  // namespace

CBlockWriter::CBlockWriter(CBitWriter& out) : m_out(out)
{
    int length = 0;
    int code = 0;
    for (code = 0; code < kLengthCodes - 1; ++code) {
        m_baseLength[code] = length;
        for (int n = 0; n < (1 << kExtraLBits[code]); ++n) m_lengthCode[length++] = static_cast<std::uint8_t>(code);
    }
    // Length 258 has a code of its own and is never sent as code 284 with extra bits.
    m_lengthCode[length - 1] = static_cast<std::uint8_t>(code);
    m_baseLength[kLengthCodes - 1] = 0;

    int dist = 0;
    for (code = 0; code < 16; ++code) {
        m_baseDist[code] = dist;
        for (int n = 0; n < (1 << kExtraDBits[code]); ++n) m_distCode[dist++] = static_cast<std::uint8_t>(code);
    }
    dist >>= 7;
    for (; code < kDCodes; ++code) {
        m_baseDist[code] = dist << 7;
        for (int n = 0; n < (1 << (kExtraDBits[code] - 7)); ++n)
            m_distCode[256 + dist++] = static_cast<std::uint8_t>(code);
    }

    // The fixed codes.
    std::memset(&m_staticL, 0, sizeof m_staticL);
    std::memset(&m_staticD, 0, sizeof m_staticD);
    std::fill(std::begin(m_blCount), std::end(m_blCount), std::uint16_t{0});
    int n = 0;
    while (n <= 143) m_staticL.len[n++] = 8, m_blCount[8]++;
    while (n <= 255) m_staticL.len[n++] = 9, m_blCount[9]++;
    while (n <= 279) m_staticL.len[n++] = 7, m_blCount[7]++;
    while (n <= 287) m_staticL.len[n++] = 8, m_blCount[8]++;
    GenCodes(m_staticL.code, m_staticL.len, kLCodes + 1);
    for (n = 0; n < kDCodes; ++n) {
        m_staticD.len[n] = 5;
        m_staticD.code[n] = static_cast<std::uint16_t>(ReverseBits(static_cast<unsigned>(n), 5));
    }

    std::memset(&m_ltree, 0, sizeof m_ltree);
    std::memset(&m_dtree, 0, sizeof m_dtree);
    std::memset(&m_bltree, 0, sizeof m_bltree);
    m_lDesc = {&m_ltree, &m_staticL, kExtraLBits, kLiterals + 1, kLCodes, kMaxBits, 0};
    m_dDesc = {&m_dtree, &m_staticD, kExtraDBits, 0, kDCodes, kMaxBits, 0};
    m_blDesc = {&m_bltree, nullptr, kExtraBlBits, 0, kBlCodes, kMaxBlBits, 0};
    InitBlock();
}

void CBlockWriter::InitBlock()
{
    for (int n = 0; n < kLCodes; ++n) m_ltree.freq[n] = 0;
    for (int n = 0; n < kDCodes; ++n) m_dtree.freq[n] = 0;
    for (int n = 0; n < kBlCodes; ++n) m_bltree.freq[n] = 0;
    m_ltree.freq[kEndBlock] = 1;
    m_optLen = m_staticLen = 0;
    m_nLast = m_nDist = m_nFlags = 0;
    m_flags = 0;
    m_flagBit = 1;
}

bool CBlockWriter::TallyLiteral(std::uint8_t byte, long blockInput)
{
    m_litBuf[m_nLast++] = byte;
    m_ltree.freq[byte]++;
    NextFlagBit();
    return EndOfTally(blockInput);
}

bool CBlockWriter::TallyMatch(unsigned distance, unsigned length, long blockInput)
{
    unsigned lc = length - 3;
    unsigned dist = distance - 1;
    m_litBuf[m_nLast++] = static_cast<std::uint8_t>(lc);
    m_ltree.freq[m_lengthCode[lc] + kLiterals + 1]++;
    m_dtree.freq[DistCode(dist)]++;
    m_distBuf[m_nDist++] = static_cast<std::uint16_t>(dist);
    m_flags = static_cast<std::uint8_t>(m_flags | m_flagBit);
    NextFlagBit();
    return EndOfTally(blockInput);
}

// Every eighth symbol completes a flag byte.
void CBlockWriter::NextFlagBit()
{
    m_flagBit = static_cast<std::uint8_t>(m_flagBit << 1);
    if ((m_nLast & 7) == 0) {
        m_flagBuf[m_nFlags++] = m_flags;
        m_flags = 0;
        m_flagBit = 1;
    }
}

bool CBlockWriter::EndOfTally(long blockInput) const
{
    // Every 4,096 symbols, end a block early when it is mostly literals and its estimated
    // size is already below half its input: the statistics are likely to be changing.
    if ((m_nLast & 0xFFF) == 0) {
        unsigned long outLength = static_cast<unsigned long>(m_nLast) * 8;
        for (int dcode = 0; dcode < kDCodes; ++dcode)
            outLength += static_cast<unsigned long>(m_dtree.freq[dcode]) * static_cast<unsigned long>(5 + kExtraDBits[dcode]);
        outLength >>= 3;
        if (m_nDist < m_nLast / 2 && static_cast<long>(outLength) < blockInput / 2) return true;
    }
    return m_nLast == kLitBufSize - 1 || m_nDist == kDistBufSize;
}

bool CBlockWriter::Smaller(const Tree& tree, int n, int m) const
{
    return tree.freq[n] < tree.freq[m] || (tree.freq[n] == tree.freq[m] && m_depth[n] <= m_depth[m]);
}

void CBlockWriter::PqDownHeap(const Tree& tree, int k)
{
    int v = m_heap[k];
    int j = k << 1;
    while (j <= m_heapLen) {
        if (j < m_heapLen && Smaller(tree, m_heap[j + 1], m_heap[j])) j++;
        if (Smaller(tree, v, m_heap[j])) break;
        m_heap[k] = m_heap[j];
        k = j;
        j <<= 1;
    }
    m_heap[k] = v;
}

void CBlockWriter::BuildTree(TreeDesc& desc)
{
    Tree& tree = *desc.tree;
    int elems = desc.elems;
    int maxCode = -1;
    int node = elems;

    m_heapLen = 0;
    m_heapMax = kHeapSize;
    for (int n = 0; n < elems; ++n) {
        if (tree.freq[n] != 0) {
            m_heap[++m_heapLen] = maxCode = n;
            m_depth[n] = 0;
        } else {
            tree.len[n] = 0;
        }
    }
    // A code needs two symbols: force some in with frequency 1. They are no real symbols,
    // so the estimates leave their cost out again.
    while (m_heapLen < 2) {
        int added = m_heap[++m_heapLen] = (maxCode < 2 ? ++maxCode : 0);
        tree.freq[added] = 1;
        m_depth[added] = 0;
        m_optLen--;
        if (desc.staticTree) m_staticLen -= desc.staticTree->len[added];
    }
    desc.maxCode = maxCode;

    for (int n = m_heapLen / 2; n >= 1; --n) PqDownHeap(tree, n);

    do {
        int n = m_heap[1];
        m_heap[1] = m_heap[m_heapLen--];
        PqDownHeap(tree, 1);
        int m = m_heap[1];
        m_heap[--m_heapMax] = n;
        m_heap[--m_heapMax] = m;
        tree.freq[node] = static_cast<std::uint16_t>(tree.freq[n] + tree.freq[m]);
        m_depth[node] = static_cast<std::uint8_t>(std::max(m_depth[n], m_depth[m]) + 1);
        tree.dad[n] = tree.dad[m] = static_cast<std::uint16_t>(node);
        m_heap[1] = node++;
        PqDownHeap(tree, 1);
    } while (m_heapLen >= 2);
    m_heap[--m_heapMax] = m_heap[1];

    GenBitLengths(desc);
    GenCodes(tree.code, tree.len, maxCode);
}

void CBlockWriter::GenBitLengths(TreeDesc& desc)
{
    Tree& tree = *desc.tree;
    const int* extra = desc.extraBits;
    int base = desc.extraBase;
    int maxCode = desc.maxCode;
    int maxLength = desc.maxLength;
    int overflow = 0;

    std::fill(std::begin(m_blCount), std::end(m_blCount), std::uint16_t{0});
    tree.len[m_heap[m_heapMax]] = 0;  // the root

    int h;
    for (h = m_heapMax + 1; h < kHeapSize; ++h) {
        int n = m_heap[h];
        int bits = tree.len[tree.dad[n]] + 1;
        if (bits > maxLength) bits = maxLength, overflow++;
        tree.len[n] = static_cast<std::uint16_t>(bits);
        if (n > maxCode) continue;  // not a leaf
        m_blCount[bits]++;
        int xbits = n >= base ? extra[n - base] : 0;
        unsigned long f = tree.freq[n];
        m_optLen += f * static_cast<unsigned long>(bits + xbits);
        if (desc.staticTree) m_staticLen += f * static_cast<unsigned long>(desc.staticTree->len[n] + xbits);
    }
    if (overflow == 0) return;

    // Too long codes: move one leaf down from the deepest level below the limit and hang an
    // overflowing leaf beside it, two at a time.
    do {
        int bits = maxLength - 1;
        while (m_blCount[bits] == 0) bits--;
        m_blCount[bits]--;
        m_blCount[bits + 1] = static_cast<std::uint16_t>(m_blCount[bits + 1] + 2);
        m_blCount[maxLength]--;
        overflow -= 2;
    } while (overflow > 0);

    // Hand the lengths out again, the longest to the least frequent leaves.
    h = kHeapSize;
    for (int bits = maxLength; bits != 0; --bits) {
        int n = m_blCount[bits];
        while (n != 0) {
            int m = m_heap[--h];
            if (m > maxCode) continue;
            if (tree.len[m] != bits) {
                m_optLen = static_cast<unsigned long>(static_cast<long>(m_optLen) +
                                                      (static_cast<long>(bits) - tree.len[m]) * static_cast<long>(tree.freq[m]));
                tree.len[m] = static_cast<std::uint16_t>(bits);
            }
            n--;
        }
    }
}

void CBlockWriter::GenCodes(std::uint16_t* code, const std::uint16_t* len, int maxCode)
{
    std::uint16_t nextCode[kMaxBits + 1];
    unsigned value = 0;
    nextCode[0] = 0;
    for (int bits = 1; bits <= kMaxBits; ++bits) {
        value = (value + m_blCount[bits - 1]) << 1;
        nextCode[bits] = static_cast<std::uint16_t>(value);
    }
    for (int n = 0; n <= maxCode; ++n) {
        int length = len[n];
        if (length == 0) continue;
        code[n] = static_cast<std::uint16_t>(ReverseBits(nextCode[length]++, length));
    }
}

// Describes a tree's code lengths as code-length symbols: runs of a non-zero length as the
// length and repeats of it (16), runs of zeros as 17 or 18, short runs as plain lengths.
// emit(symbol, extra value, extra bits) hears every symbol in order.
template <typename Emit>
void CBlockWriter::WalkLengths(const Tree& tree, int maxCode, Emit emit)
{
    int prevLen = -1;
    int nextLen = tree.len[0];
    int count = 0;
    int maxCount = 7;
    int minCount = 4;
    if (nextLen == 0) maxCount = 138, minCount = 3;
    for (int n = 0; n <= maxCode; ++n) {
        int curLen = nextLen;
        nextLen = n + 1 <= maxCode ? tree.len[n + 1] : 0xFFFF;
        if (++count < maxCount && curLen == nextLen) continue;
        if (count < minCount) {
            do emit(curLen, 0u, 0);
            while (--count != 0);
        } else if (curLen != 0) {
            if (curLen != prevLen) {
                emit(curLen, 0u, 0);
                count--;
            }
            emit(kRep3To6, static_cast<unsigned>(count - 3), 2);
        } else if (count <= 10) {
            emit(kRepZero3To10, static_cast<unsigned>(count - 3), 3);
        } else {
            emit(kRepZero11To138, static_cast<unsigned>(count - 11), 7);
        }
        count = 0;
        prevLen = curLen;
        if (nextLen == 0) {
            maxCount = 138, minCount = 3;
        } else if (curLen == nextLen) {
            maxCount = 6, minCount = 3;
        } else {
            maxCount = 7, minCount = 4;
        }
    }
}

void CBlockWriter::ScanTree(const Tree& tree, int maxCode)
{
    WalkLengths(tree, maxCode, [this](int symbol, unsigned, int) { m_bltree.freq[symbol]++; });
}

void CBlockWriter::SendTree(const Tree& tree, int maxCode)
{
    WalkLengths(tree, maxCode, [this](int symbol, unsigned extra, int bits) {
        SendCode(symbol, m_bltree.code, m_bltree.len);
        if (bits > 0) m_out.PutBits(extra, bits);
    });
}

int CBlockWriter::BuildBlTree()
{
    ScanTree(m_ltree, m_lDesc.maxCode);
    ScanTree(m_dtree, m_dDesc.maxCode);
    BuildTree(m_blDesc);
    int maxIndex;
    for (maxIndex = kBlCodes - 1; maxIndex >= 3; --maxIndex)
        if (m_bltree.len[kCodeLengthOrder[maxIndex]] != 0) break;
    m_optLen += 3 * static_cast<unsigned long>(maxIndex + 1) + 5 + 5 + 4;
    return maxIndex;
}

void CBlockWriter::SendAllTrees(int lcodes, int dcodes, int blcodes)
{
    m_out.PutBits(static_cast<std::uint32_t>(lcodes - 257), 5);
    m_out.PutBits(static_cast<std::uint32_t>(dcodes - 1), 5);
    m_out.PutBits(static_cast<std::uint32_t>(blcodes - 4), 4);
    for (int rank = 0; rank < blcodes; ++rank) m_out.PutBits(m_bltree.len[kCodeLengthOrder[rank]], 3);
    SendTree(m_ltree, lcodes - 1);
    SendTree(m_dtree, dcodes - 1);
}

void CBlockWriter::CompressBlock(const std::uint16_t* lcode, const std::uint16_t* llen, const std::uint16_t* dcode,
                                 const std::uint16_t* dlen)
{
    unsigned dx = 0;
    unsigned fx = 0;
    std::uint8_t flag = 0;
    for (unsigned lx = 0; lx < m_nLast; ++lx) {
        if ((lx & 7) == 0) flag = m_flagBuf[fx++];
        unsigned lc = m_litBuf[lx];
        if ((flag & 1) == 0) {
            SendCode(static_cast<int>(lc), lcode, llen);
        } else {
            unsigned code = m_lengthCode[lc];
            SendCode(static_cast<int>(code) + kLiterals + 1, lcode, llen);
            int extra = kExtraLBits[code];
            if (extra != 0) m_out.PutBits(lc - static_cast<unsigned>(m_baseLength[code]), extra);
            unsigned dist = m_distBuf[dx++];
            code = DistCode(dist);
            SendCode(static_cast<int>(code), dcode, dlen);
            extra = kExtraDBits[code];
            if (extra != 0) m_out.PutBits(dist - static_cast<unsigned>(m_baseDist[code]), extra);
        }
        flag = static_cast<std::uint8_t>(flag >> 1);
    }
    SendCode(kEndBlock, lcode, llen);
}

void CBlockWriter::EmitBlock(const std::uint8_t* data, long length, bool last)
{
    m_flagBuf[m_nFlags] = m_flags;

    BuildTree(m_lDesc);
    BuildTree(m_dDesc);
    int maxBlIndex = BuildBlTree();

    unsigned long dynamicBytes = (m_optLen + 10) >> 3;
    unsigned long fixedBytes = (m_staticLen + 10) >> 3;
    unsigned long best = std::min(dynamicBytes, fixedBytes);
    std::uint32_t lastBit = last ? kBlockLastFlag : 0u;

    if (static_cast<unsigned long>(length) + 2 <= best && data != nullptr) {
        m_out.PutBits(kBlockStored | lastBit, 4);
        m_out.AlignToByte();
        m_out.PutByte(static_cast<std::uint8_t>(length & 0xFF));
        m_out.PutByte(static_cast<std::uint8_t>((length >> 8) & 0xFF));
        m_out.PutBytes(data, static_cast<std::size_t>(length));
    } else if (fixedBytes == best) {
        m_out.PutBits(kBlockFixed | lastBit, 4);
        CompressBlock(m_staticL.code, m_staticL.len, m_staticD.code, m_staticD.len);
    } else {
        m_out.PutBits(kBlockDynamic | lastBit, 4);
        SendAllTrees(m_lDesc.maxCode + 1, m_dDesc.maxCode + 1, maxBlIndex + 1);
        CompressBlock(m_ltree.code, m_ltree.len, m_dtree.code, m_dtree.len);
    }
    InitBlock();
    if (last) m_out.AlignToByte();
}

}  // namespace sw
