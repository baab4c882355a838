#include "install/SzddCodec.h"

#include <cstring>

namespace {

const unsigned WindowSize = SzddWindowSize;
const unsigned WindowMask = WindowSize - 1;
const unsigned WindowStart = SzddWindowStart;
const unsigned char WindowFill = SzddWindowFill;

uint32_t ReadLittleEndian32(const unsigned char* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

} // namespace

bool SzddReadHeader(const unsigned char* pFile, size_t cbFile, SzddHeader* pHeader)
{
    if (cbFile < SzddHeaderSize || std::memcmp(pFile, SzddSignature, SzddSignatureSize) != 0)
        return false;
    pHeader->nMode = pFile[8];
    pHeader->chLast = pFile[9];
    pHeader->cbExpanded = ReadLittleEndian32(pFile + 10);
    return true;
}

size_t SzddExpand(const unsigned char* pStream, size_t cbStream, unsigned char* pOut, size_t cbOut)
{
    unsigned char window[WindowSize];
    std::memset(window, WindowFill, sizeof(window));
    unsigned nWrite = WindowStart;
    size_t nIn = 0;
    size_t nOut = 0;
    unsigned nControl = 0;
    unsigned nBitsLeft = 0;
    while (nIn < cbStream && nOut < cbOut) {
        if (nBitsLeft == 0) {
            nControl = pStream[nIn++];
            nBitsLeft = 8;
            continue;
        }
        const bool bLiteral = (nControl & 1) != 0;
        nControl >>= 1;
        --nBitsLeft;
        if (bLiteral) {
            const unsigned char ch = pStream[nIn++];
            pOut[nOut++] = ch;
            window[nWrite] = ch;
            nWrite = (nWrite + 1) & WindowMask;
            continue;
        }
        // A reference cut off by the end of the data ends the stream.
        if (cbStream - nIn < 2)
            break;
        const unsigned b0 = pStream[nIn];
        const unsigned b1 = pStream[nIn + 1];
        nIn += 2;
        unsigned nRead = b0 | (b1 & 0xF0) << 4;
        unsigned nLength = (b1 & 0x0F) + 3;
        // One byte at a time: a reference may overlap the bytes it is producing.
        for (; nLength > 0 && nOut < cbOut; --nLength) {
            const unsigned char ch = window[nRead];
            pOut[nOut++] = ch;
            window[nWrite] = ch;
            nRead = (nRead + 1) & WindowMask;
            nWrite = (nWrite + 1) & WindowMask;
        }
    }
    return nOut;
}
