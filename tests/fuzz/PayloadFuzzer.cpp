// Any payload: walking its records as setup.exe does never leaves the
// payload, and every record found lies wholly inside it.
#include "install/PayloadRecords.h"
#include "install/SzddCodec.h"

#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t cbData)
{
    const size_t MaxExpanded = 1 << 16;
    size_t nOffset = 0;
    for (int nRecord = 0; nRecord < 64; ++nRecord) {
        uint32_t cbBody = 0;
        const PayloadStep step = ReadPayloadRecord(pData, cbData, nOffset, &cbBody);
        if (step != PayloadRecordFound)
            return 0;
        if (cbBody == 0 || nOffset + PayloadLengthSize + cbBody > cbData)
            std::abort();
        const unsigned char* pBody = pData + nOffset + PayloadLengthSize;
        // Put the dropped "SZDD" back, as the staging of a record does.
        std::vector<unsigned char> file(SzddSignature, SzddSignature + 4);
        file.insert(file.end(), pBody, pBody + cbBody);
        SzddHeader header;
        if (SzddReadHeader(file.data(), file.size(), &header)) {
            std::vector<unsigned char> out(header.cbExpanded < MaxExpanded ? header.cbExpanded : MaxExpanded);
            SzddExpand(file.data() + SzddHeaderSize, file.size() - SzddHeaderSize, out.data(), out.size());
        }
        nOffset += PayloadLengthSize + cbBody;
    }
    return 0;
}
