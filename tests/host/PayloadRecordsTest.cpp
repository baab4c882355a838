#include "install/PayloadRecords.h"
#include "tests/host/TestData.h"

#include <gtest/gtest.h>

namespace {

CBytes LengthField(uint32_t n)
{
    return { (unsigned char)n, (unsigned char)(n >> 8), (unsigned char)(n >> 16), (unsigned char)(n >> 24) };
}

CBytes Record(uint32_t cbBody)
{
    CBytes out = LengthField(cbBody);
    out.resize(out.size() + cbBody, 0x5A);
    return out;
}

CBytes WithoutLastByte(CBytes data)
{
    data.pop_back();
    return data;
}

CBytes Concat(std::initializer_list<CBytes> parts)
{
    CBytes out;
    for (const CBytes& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

TEST(PayloadRecords, ReadsOneRecordAtATime)
{
    struct CCase
    {
        const char* pszName;
        CBytes payload;
        size_t nOffset;
        PayloadStep step;
        uint32_t cbBody;
    };
    const CBytes twoRecords = Concat({ Record(5), Record(300), LengthField(0) });
    const CCase cases[] = {
        { "first record", twoRecords, 0, PayloadRecordFound, 5 },
        { "second record", twoRecords, 9, PayloadRecordFound, 300 },
        { "end marker", twoRecords, 313, PayloadEndMarker, 0 },
        { "at the very end", twoRecords, 317, PayloadTruncated, 0 },
        { "past the end", twoRecords, 400, PayloadTruncated, 0 },
        { "empty payload", {}, 0, PayloadTruncated, 0 },
        { "length field cut short", { 5, 0, 0 }, 0, PayloadTruncated, 0 },
        { "body filling the payload exactly", Record(7), 0, PayloadRecordFound, 7 },
        { "body one byte short", WithoutLastByte(Record(7)), 0, PayloadTruncated, 7 },
        { "length that would wrap around", Concat({ LengthField(0xFFFFFFFF), CBytes(8, 0) }), 0, PayloadTruncated, 0xFFFFFFFF },
        { "length of the whole address space minus the field", Concat({ LengthField(0xFFFFFFFC), CBytes(8, 0) }), 0,
          PayloadTruncated, 0xFFFFFFFC },
    };
    for (const CCase& c : cases) {
        SCOPED_TRACE(c.pszName);
        uint32_t cbBody = 12345;
        EXPECT_EQ(c.step, ReadPayloadRecord(c.payload.data(), c.payload.size(), c.nOffset, &cbBody));
        EXPECT_EQ(c.cbBody, cbBody);
    }
}

} // namespace
