#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// The SZDD compressed-file format, mode 'A': a 14-byte header, then an LZSS
// stream over a 4,096-byte ring window that starts filled with spaces.
const size_t SzddHeaderSize = 14;           // "SZDD" 88 F0 27 33, mode, last char, expanded length
const size_t SzddSignatureSize = 8;
const unsigned char SzddSignature[SzddSignatureSize] = { 'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33 };
const unsigned char SzddModeLzss = 'A';
// The LZSS ring window: it starts filled with spaces, written from 16 bytes before its end.
const unsigned SzddWindowSize = 4096;
const unsigned SzddWindowStart = SzddWindowSize - 16;
const unsigned char SzddWindowFill = 0x20;
const size_t SzddMaxCompressSize = 0xFFFFFFFFu - 4096;   // positions, window included, fit in 32 bits

struct SzddHeader { unsigned char nMode; unsigned char chLast; uint32_t cbExpanded; };

// Checks the 8-byte signature and reads the header of a complete SZDD file; false when too short or not SZDD.
bool SzddReadHeader(const unsigned char* pFile, size_t cbFile, SzddHeader* pHeader);

// Expands a mode 'A' LZSS stream (the bytes after the 14-byte header) into pOut, writing at most cbOut
// bytes; returns the number of bytes written. Never reads past pStream + cbStream, never writes past cbOut.
size_t SzddExpand(const unsigned char* pStream, size_t cbStream, unsigned char* pOut, size_t cbOut);

// Compresses to a complete SZDD file (header with mode 'A', last char 0, exact expanded length).
// The parse is optimal: no mode 'A' stream for these bytes is shorter.
// cbData must stay below SzddMaxCompressSize.
std::vector<unsigned char> SzddCompress(const unsigned char* pData, size_t cbData);
