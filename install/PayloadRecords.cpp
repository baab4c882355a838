#include "install/PayloadRecords.h"

PayloadStep ReadPayloadRecord(const unsigned char* pPayload, size_t cbPayload, size_t nOffset, uint32_t* pcbBody)
{
    *pcbBody = 0;
    if (nOffset > cbPayload || cbPayload - nOffset < PayloadLengthSize)
        return PayloadTruncated;
    const unsigned char* p = pPayload + nOffset;
    const uint32_t cbBody = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    *pcbBody = cbBody;
    if (cbBody == 0)
        return PayloadEndMarker;
    // Compared as a subtraction so that a huge length cannot wrap around.
    if (cbBody > cbPayload - nOffset - PayloadLengthSize)
        return PayloadTruncated;
    return PayloadRecordFound;
}
