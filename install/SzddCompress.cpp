// The SZDD encoder. It lives apart from the decoder so that setup.exe, which
// only expands, does not link it or the container code it uses.
#include "install/SzddCodec.h"

#include <cstring>

namespace {

const unsigned WindowSize = SzddWindowSize;
const unsigned WindowMask = WindowSize - 1;
const unsigned WindowStart = SzddWindowStart;
const unsigned char WindowFill = SzddWindowFill;

const unsigned MinMatch = 3;
const unsigned MaxMatch = 18;
const uint32_t NoPosition = UINT32_MAX;
const unsigned LiteralBits = 9;     // 8 data bits plus the control bit
const unsigned ReferenceBits = 17;  // 16 data bits plus the control bit

struct CMatch
{
    unsigned nLength;
    unsigned nDistance;
};

// Finds the true longest match for every position of a text whose first
// WindowSize bytes are the decoder's initial spaces. A binary tree per hash
// bucket, newest position at the root, is searched without any depth limit,
// so nothing of the window is ever skipped; since every node is newer than
// its descendants, the first node past the window cuts off a whole subtree.
class CMatchFinder
{
public:
    CMatchFinder(const unsigned char* pText, size_t cbText)
        : m_pText(pText), m_cbText(cbText), m_heads(HashSize, NoPosition), m_children(2 * SlotCount, NoPosition)
    {
    }

    // Positions must be visited in order, each once.
    CMatch Find(uint32_t nPos)
    {
        const size_t cbLeft = m_cbText - nPos;
        if (cbLeft < MinMatch)
            return { 0, 0 };
        return InsertAndSearch(nPos, cbLeft < MaxMatch ? unsigned(cbLeft) : MaxMatch);
    }

private:
    static const unsigned HashBits = 12;     // about one live position per bucket
    static const unsigned HashSize = 1 << HashBits;
    static const unsigned SlotCount = WindowSize + 1;   // distances 1 to WindowSize are all live

    static unsigned Hash(const unsigned char* p)
    {
        const uint32_t nKey = p[0] | p[1] << 8 | p[2] << 16;
        return (nKey * 2654435761u) >> (32 - HashBits);
    }

    uint32_t* ChildrenOf(uint32_t nPos) { return &m_children[2 * (nPos % SlotCount)]; }

    // Near the end a key is shorter than MaxMatch; nodes that agree with it
    // that far are replaced like equal ones, which later, shorter searches
    // cannot tell apart.
    CMatch InsertAndSearch(uint32_t nPos, unsigned nLimit)
    {
        const unsigned char* pCur = m_pText + nPos;
        uint32_t& nHead = m_heads[Hash(pCur)];
        uint32_t nCandidate = nHead;
        nHead = nPos;
        // The new position becomes the root; the old tree is split along the
        // search path into the part that sorts below it and the part above.
        uint32_t* pBelow = ChildrenOf(nPos);
        uint32_t* pAbove = pBelow + 1;
        unsigned nLengthBelow = 0;
        unsigned nLengthAbove = 0;
        CMatch best = { 0, 0 };
        for (;;) {
            if (nCandidate == NoPosition || nPos - nCandidate > WindowSize) {
                *pBelow = NoPosition;
                *pAbove = NoPosition;
                return best;
            }
            uint32_t* pPair = ChildrenOf(nCandidate);
            const unsigned char* pOld = m_pText + nCandidate;
            unsigned nLength = nLengthBelow < nLengthAbove ? nLengthBelow : nLengthAbove;
            while (nLength < nLimit && pOld[nLength] == pCur[nLength])
                ++nLength;
            if (nLength > best.nLength)
                best = { nLength, nPos - nCandidate };
            if (nLength == nLimit) {
                // Equal keys: the new position replaces the older one.
                *pBelow = pPair[0];
                *pAbove = pPair[1];
                return best;
            }
            if (pOld[nLength] < pCur[nLength]) {
                *pBelow = nCandidate;
                pBelow = &pPair[1];
                nCandidate = *pBelow;
                nLengthBelow = nLength;
            } else {
                *pAbove = nCandidate;
                pAbove = &pPair[0];
                nCandidate = *pAbove;
                nLengthAbove = nLength;
            }
        }
    }

    const unsigned char* m_pText;
    size_t m_cbText;
    std::vector<uint32_t> m_heads;
    std::vector<uint32_t> m_children;   // per slot: the subtree below, the subtree above
};

// Collects items eight to a control byte, least significant bit first.
class CTokenWriter
{
public:
    explicit CTokenWriter(std::vector<unsigned char>& out) : m_out(out) {}

    void WriteLiteral(unsigned char ch)
    {
        StartItem(true);
        m_out.push_back(ch);
    }

    void WriteReference(unsigned nWindowPos, unsigned nLength)
    {
        StartItem(false);
        m_out.push_back((unsigned char)(nWindowPos & 0xFF));
        m_out.push_back((unsigned char)(((nWindowPos >> 4) & 0xF0) | (nLength - MinMatch)));
    }

private:
    void StartItem(bool bLiteral)
    {
        if (m_nBit == 8) {
            m_nControlAt = m_out.size();
            m_out.push_back(0);
            m_nBit = 0;
        }
        if (bLiteral)
            m_out[m_nControlAt] |= (unsigned char)(1 << m_nBit);
        ++m_nBit;
    }

    std::vector<unsigned char>& m_out;
    size_t m_nControlAt = 0;
    unsigned m_nBit = 8;
};

void AppendLittleEndian32(std::vector<unsigned char>& out, uint32_t n)
{
    for (int i = 0; i < 4; ++i)
        out.push_back((unsigned char)(n >> (8 * i)));
}

} // namespace

std::vector<unsigned char> SzddCompress(const unsigned char* pData, size_t cbData)
{
    // The decoder's initial window, then the data: a match may reach back into the spaces.
    std::vector<unsigned char> text(WindowSize + cbData, WindowFill);
    if (cbData != 0)
        std::memcpy(&text[WindowSize], pData, cbData);

    // Every initial position before the last MaxMatch holds the same key, all
    // spaces, and the newest of equal keys is the only one a search needs.
    CMatchFinder finder(text.data(), text.size());
    for (uint32_t nPos = WindowSize - MaxMatch; nPos < WindowSize; ++nPos)
        finder.Find(nPos);
    std::vector<CMatch> matches(cbData);
    for (size_t i = 0; i < cbData; ++i)
        matches[i] = finder.Find(uint32_t(WindowSize + i));

    // Every reference costs the same, so the cheapest parse of the rest of
    // the data from each position backwards is an exact optimum.
    std::vector<uint64_t> bitsFrom(cbData + 1, 0);
    std::vector<unsigned char> stepAt(cbData, 1);
    for (size_t i = cbData; i-- > 0;) {
        uint64_t nBest = LiteralBits + bitsFrom[i + 1];
        unsigned char nStep = 1;
        for (unsigned nLength = MinMatch; nLength <= matches[i].nLength; ++nLength) {
            const uint64_t nBits = ReferenceBits + bitsFrom[i + nLength];
            if (nBits <= nBest) {
                nBest = nBits;
                nStep = (unsigned char)nLength;
            }
        }
        bitsFrom[i] = nBest;
        stepAt[i] = nStep;
    }

    std::vector<unsigned char> out(SzddSignature, SzddSignature + SzddSignatureSize);
    out.push_back(SzddModeLzss);
    out.push_back(0);
    AppendLittleEndian32(out, uint32_t(cbData));
    out.reserve(SzddHeaderSize + size_t(bitsFrom[0] / 8) + 1);
    CTokenWriter writer(out);
    for (size_t i = 0; i < cbData; i += stepAt[i]) {
        if (stepAt[i] == 1) {
            writer.WriteLiteral(pData[i]);
            continue;
        }
        const unsigned nWindowPos = unsigned(WindowStart + i - matches[i].nDistance) & WindowMask;
        writer.WriteReference(nWindowPos, stepAt[i]);
    }
    return out;
}
