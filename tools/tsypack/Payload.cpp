#include "tools/tsypack/Payload.h"

#include "install/PayloadRecords.h"
#include "install/SzddCodec.h"
#include "tools/tsypack/CheckedExpand.h"

#include <cstring>

namespace {

const char* const InstallNames[] = { "TSY.exe", "TSY.hlp", "TSY.cnt", "Uninstall.exe" };
const size_t InstallNameCount = sizeof(InstallNames) / sizeof(InstallNames[0]);
const size_t DroppedSignatureSize = 4;      // "SZDD"

void AppendLittleEndian32(std::vector<unsigned char>& out, uint32_t n)
{
    for (int i = 0; i < 4; ++i)
        out.push_back((unsigned char)(n >> (8 * i)));
}

std::string RecordLabel(size_t nPosition, size_t nOffset)
{
    return "record " + std::to_string(nPosition) + " at offset " + std::to_string(nOffset);
}

// Reads the SZDD header of a record body by putting the dropped "SZDD" back in front.
bool ReadBodyHeader(const unsigned char* pBody, uint32_t cbBody, SzddHeader* pHeader)
{
    unsigned char header[SzddHeaderSize];
    if (cbBody < SzddHeaderSize - DroppedSignatureSize)
        return false;
    std::memcpy(header, SzddSignature, DroppedSignatureSize);
    std::memcpy(header + DroppedSignatureSize, pBody, SzddHeaderSize - DroppedSignatureSize);
    return SzddReadHeader(header, sizeof(header), pHeader);
}

} // namespace

std::vector<unsigned char> BuildPayload(const std::vector<std::vector<unsigned char>>& szddFiles)
{
    std::vector<unsigned char> payload;
    for (const std::vector<unsigned char>& file : szddFiles) {
        const size_t cbBody = file.size() - DroppedSignatureSize;
        AppendLittleEndian32(payload, uint32_t(cbBody));
        payload.insert(payload.end(), file.begin() + DroppedSignatureSize, file.end());
    }
    AppendLittleEndian32(payload, 0);
    return payload;
}

CPayloadWalk WalkPayload(const std::vector<unsigned char>& payload)
{
    CPayloadWalk walk;
    size_t nOffset = 0;
    for (size_t nPosition = 0;; ++nPosition) {
        const std::string strLabel = RecordLabel(nPosition, nOffset);
        uint32_t cbBody = 0;
        const PayloadStep step = ReadPayloadRecord(payload.data(), payload.size(), nOffset, &cbBody);
        if (step == PayloadEndMarker) {
            const size_t cbAfter = payload.size() - nOffset - PayloadLengthSize;
            if (cbAfter != 0)
                walk.strError = std::to_string(cbAfter) + " bytes follow the end marker at offset " + std::to_string(nOffset);
            return walk;
        }
        if (step == PayloadTruncated) {
            if (nOffset == payload.size())
                walk.strError = "no end marker: the payload ends after " + std::to_string(nPosition) + " records";
            else if (payload.size() - nOffset < PayloadLengthSize)
                walk.strError = strLabel + ": the payload ends inside the length field (no end marker)";
            else
                walk.strError = strLabel + ": body length " + std::to_string(cbBody) + " runs past the end of the payload ("
                    + std::to_string(payload.size()) + " bytes)";
            return walk;
        }
        SzddHeader header;
        if (!ReadBodyHeader(&payload[nOffset + PayloadLengthSize], cbBody, &header)) {
            walk.strError = strLabel + ": bad signature, the body is not an SZDD file";
            return walk;
        }
        if (header.nMode != SzddModeLzss) {
            walk.strError = strLabel + ": unsupported compression mode " + std::to_string(header.nMode);
            return walk;
        }
        walk.entries.push_back({ nPosition, nOffset, cbBody, header.cbExpanded });
        nOffset += PayloadLengthSize + cbBody;
    }
}

std::string InstallNameOf(size_t nPosition)
{
    return nPosition < InstallNameCount ? InstallNames[nPosition] : "(not installed)";
}

std::vector<unsigned char> ExpandRecord(const std::vector<unsigned char>& payload, const CPayloadEntry& entry)
{
    const size_t cbStreamOffset = SzddHeaderSize - DroppedSignatureSize;
    const unsigned char* pStream = &payload[entry.nOffset + PayloadLengthSize + cbStreamOffset];
    return ExpandChecked(pStream, entry.cbBody - cbStreamOffset, entry.cbExpanded,
        RecordLabel(entry.nPosition, entry.nOffset));
}
