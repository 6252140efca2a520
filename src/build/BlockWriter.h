#pragma once
// The second half of the compressor: collects literals and matches of the current block
// (the tally), decides when a block should end, and writes each block stored, with the
// fixed codes or with codes built for it, whichever is smallest.
#include <cstdint>

#include "build/BitWriter.h"

namespace sw {

class CBlockWriter {
public:
    explicit CBlockWriter(CBitWriter& out);

    // Record a literal byte, or a match of `length` (3..258) bytes `distance` (1..32768) back.
    // blockInput: bytes of input the block has covered so far. Returns true when the block
    // should end here.
    bool TallyLiteral(std::uint8_t byte, long blockInput);
    bool TallyMatch(unsigned distance, unsigned length, long blockInput);

    // Writes the block. data: its input bytes (for a stored block), or null when they are
    // no longer in the window; length: how many input bytes it covers.
    void EmitBlock(const std::uint8_t* data, long length, bool last);

    static constexpr int kLCodes = 286;   // literals, end of block, 29 length codes
    static constexpr int kDCodes = 30;
    static constexpr int kBlCodes = 19;
    static constexpr int kHeapSize = 2 * kLCodes + 1;

private:
    struct Tree {
        std::uint16_t freq[kHeapSize];
        std::uint16_t code[kHeapSize];
        std::uint16_t len[kHeapSize];
        std::uint16_t dad[kHeapSize];
    };
    struct StaticTree {
        std::uint16_t code[kLCodes + 2];
        std::uint16_t len[kLCodes + 2];
    };
    struct TreeDesc {
        Tree* tree;
        const StaticTree* staticTree;  // null for the code-length tree
        const int* extraBits;
        int extraBase;
        int elems;
        int maxLength;
        int maxCode;
    };

    void NextFlagBit();
    bool EndOfTally(long blockInput) const;
    void InitBlock();
    void PqDownHeap(const Tree& tree, int k);
    bool Smaller(const Tree& tree, int n, int m) const;
    void BuildTree(TreeDesc& desc);
    void GenBitLengths(TreeDesc& desc);
    void GenCodes(std::uint16_t* code, const std::uint16_t* len, int maxCode);
    template <typename Emit>
    void WalkLengths(const Tree& tree, int maxCode, Emit emit);
    void ScanTree(const Tree& tree, int maxCode);
    void SendTree(const Tree& tree, int maxCode);
    int BuildBlTree();
    void SendAllTrees(int lcodes, int dcodes, int blcodes);
    void CompressBlock(const std::uint16_t* lcode, const std::uint16_t* llen, const std::uint16_t* dcode,
                       const std::uint16_t* dlen);
    void SendCode(int symbol, const std::uint16_t* code, const std::uint16_t* len)
    {
        m_out.PutBits(code[symbol], len[symbol]);
    }

    CBitWriter& m_out;

    Tree m_ltree;
    Tree m_dtree;
    Tree m_bltree;
    StaticTree m_staticL;
    StaticTree m_staticD;
    TreeDesc m_lDesc;
    TreeDesc m_dDesc;
    TreeDesc m_blDesc;

    int m_heap[kHeapSize];
    int m_heapLen = 0;
    int m_heapMax = 0;
    std::uint8_t m_depth[kHeapSize];
    std::uint16_t m_blCount[16];

    std::uint8_t m_lengthCode[256];  // match length - 3 -> length code
    std::uint8_t m_distCode[512];    // distance - 1 -> distance code (above 256: shifted right by 7)
    int m_baseLength[29];
    int m_baseDist[kDCodes];

    std::uint8_t m_litBuf[8192];    // literal, or match length - 3
    std::uint16_t m_distBuf[8192];  // match distance - 1
    std::uint8_t m_flagBuf[1024];   // one bit per symbol, 1 = match
    unsigned m_nLast = 0;           // symbols in the block
    unsigned m_nDist = 0;           // matches in the block
    unsigned m_nFlags = 0;          // flag bytes stored
    std::uint8_t m_flags = 0;
    std::uint8_t m_flagBit = 1;

    unsigned long m_optLen = 0;     // bits with the codes built for the block
    unsigned long m_staticLen = 0;  // bits with the fixed codes

    unsigned DistCode(unsigned distMinus1) const
    {
        return distMinus1 < 256 ? m_distCode[distMinus1] : m_distCode[256 + (distMinus1 >> 7)];
    }
};

}  // namespace sw
