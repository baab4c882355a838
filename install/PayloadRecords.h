#pragma once
#include <cstddef>
#include <cstdint>

// The payload: records stored back to back from offset 0, each a uint32 LE
// body length K (0 = end marker) followed by K body bytes, a complete SZDD
// file without its first four bytes "SZDD".
const size_t PayloadLengthSize = 4;

enum PayloadStep { PayloadRecordFound, PayloadEndMarker, PayloadTruncated };

// Reads the record at nOffset. PayloadEndMarker when its length is 0; PayloadTruncated when the length
// field or the body would run past cbPayload. On PayloadRecordFound *pcbBody is K (body at nOffset + 4).
// On PayloadTruncated it is the length read, or 0 when the length field itself is cut off.
PayloadStep ReadPayloadRecord(const unsigned char* pPayload, size_t cbPayload, size_t nOffset, uint32_t* pcbBody);
