#include "install/SzddCodec.h"
#include "tests/host/TestData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace {

const unsigned char Guard = 0xA5;

// Expands into a buffer of exactly cbOut bytes followed by guard bytes, and
// checks that the guard is untouched.
CBytes ExpandExactly(const CBytes& stream, size_t cbOut)
{
    CBytes out(cbOut + 64, Guard);
    // A copy of exactly the stream's size, so that a sanitizer sees any read past its end.
    CBytes streamCopy(stream);
    const size_t cbWritten = SzddExpand(streamCopy.data(), streamCopy.size(), out.data(), cbOut);
    EXPECT_LE(cbWritten, cbOut);
    EXPECT_TRUE(std::all_of(out.begin() + cbOut, out.end(), [](unsigned char ch) { return ch == Guard; }))
        << "wrote past cbOut";
    out.resize(std::min(cbWritten, cbOut));
    return out;
}

CBytes StreamOf(const CBytes& file)
{
    return CBytes(file.begin() + SzddHeaderSize, file.end());
}

CBytes Prefix(const CBytes& data, size_t cb)
{
    return CBytes(data.begin(), data.begin() + std::min(cb, data.size()));
}

// The fewest bits any mode 'A' stream needs for data, found the slow way: at
// every position every window slot is tried by copying as the decoder copies,
// one byte at a time from a ring that the copy itself overwrites.
uint64_t OptimalBits(const CBytes& data)
{
    const size_t n = data.size();
    std::vector<unsigned> longest(n, 0);
    unsigned char window[4096];
    std::memset(window, ' ', sizeof(window));
    unsigned nWrite = 4080;
    for (size_t i = 0; i < n; ++i) {
        for (unsigned nSlot = 0; nSlot < 4096; ++nSlot) {
            unsigned nLength = 0;
            while (nLength < 18 && i + nLength < n) {
                const unsigned nRead = (nSlot + nLength) & 4095;
                const unsigned nAge = (nRead - nWrite) & 4095;
                const unsigned char ch = nAge < nLength ? data[i + nAge] : window[nRead];
                if (ch != data[i + nLength])
                    break;
                ++nLength;
            }
            longest[i] = std::max(longest[i], nLength);
        }
        window[nWrite] = data[i];
        nWrite = (nWrite + 1) & 4095;
    }
    std::vector<uint64_t> bitsFrom(n + 1, 0);
    for (size_t i = n; i-- > 0;) {
        bitsFrom[i] = 9 + bitsFrom[i + 1];
        for (unsigned nLength = 3; nLength <= longest[i]; ++nLength)
            bitsFrom[i] = std::min(bitsFrom[i], 17 + bitsFrom[i + nLength]);
    }
    return bitsFrom[0];
}

TEST(SzddCodec, RoundTripsEverySampleWithAnExactHeaderAndNoSlack)
{
    std::vector<CSample> samples = SyntheticSamples();
    for (CSample& sample : RealPeSamples())
        samples.push_back(std::move(sample));
    for (const CSample& sample : samples) {
        SCOPED_TRACE(sample.strName);
        const CBytes file = SzddCompress(sample.data.data(), sample.data.size());
        ASSERT_GE(file.size(), SzddHeaderSize);
        EXPECT_EQ(0, std::memcmp(file.data(), "SZDD\x88\xF0\x27\x33", 8));
        SzddHeader header;
        ASSERT_TRUE(SzddReadHeader(file.data(), file.size(), &header));
        EXPECT_EQ('A', header.nMode);
        EXPECT_EQ(0, header.chLast);
        EXPECT_EQ(sample.data.size(), header.cbExpanded);

        const CBytes stream = StreamOf(file);
        EXPECT_EQ(sample.data, ExpandExactly(stream, sample.data.size()));
        // Room to spare gives nothing more: the stream ends with its last item.
        EXPECT_EQ(sample.data, ExpandExactly(stream, sample.data.size() + 100));
        if (!stream.empty()) {
            const CBytes shorter(stream.begin(), stream.end() - 1);
            EXPECT_LT(ExpandExactly(shorter, sample.data.size()).size(), sample.data.size())
                << "the last byte of the stream carries nothing";
        }
    }
}

TEST(SzddCodec, ParsesOptimally)
{
    std::vector<CSample> samples = {
        { "binary alphabet", RandomBytes(1500, 21, 2) },
        { "three letters and spaces", RandomBytes(2500, 23, 3) },
        { "spaces among letters", [] { CBytes d = RandomBytes(2000, 25, 4); for (auto& c : d) if (c == 3) c = ' '; return d; }() },
        { "runs", CBytes(300, 'z') },
        { "initial spaces", CBytes(100, ' ') },
        { "runs of spaces only the initial window holds", [] {
              const std::string str = "x          y       z" + std::string(13, ' ') + "!";
              return CBytes(str.begin(), str.end()); }() },
        { "matches around the window edge", [] {
              CBytes d = RandomBytes(4200, 27, 256);
              std::copy(d.begin(), d.begin() + 60, d.begin() + 4090);
              return d; }() },
    };
    for (CSample& sample : SyntheticSamples()) {
        if (sample.data.size() <= 4200)
            samples.push_back(std::move(sample));
    }
    for (const CSample& sample : samples) {
        SCOPED_TRACE(sample.strName);
        const CBytes file = SzddCompress(sample.data.data(), sample.data.size());
        const uint64_t nBits = OptimalBits(sample.data);
        EXPECT_EQ(SzddHeaderSize + (nBits + 7) / 8, file.size());
        EXPECT_EQ(sample.data, ExpandExactly(StreamOf(file), sample.data.size()));
    }
}

// Streams written by hand from the format's definition, so that an encoder
// and a decoder that agree on the same mistake cannot pass together.
TEST(SzddCodec, ExpandsHandWrittenStreams)
{
    struct CCase
    {
        const char* pszName;
        CBytes stream;
        std::string strExpected;
    };
    const CCase cases[] = {
        { "empty stream", {}, "" },
        { "control byte alone", { 0xFF }, "" },
        { "literals", { 0x07, 'T', 'S', 'Y' }, "TSY" },
        { "reference overlapping its own output", { 0x03, 'A', 'B', 0xF0, 0xF1 }, "ABABAB" },
        { "reference into the initial spaces", { 0x01, 'x', 0x00, 0x02 }, "x     " },
        { "longest reference", { 0x00, 0x00, 0x0F }, std::string(18, ' ') },
        { "second control byte", { 0xFF, '1', '2', '3', '4', '5', '6', '7', '8', 0x01, '9' }, "123456789" },
        { "reference at the very end", { 0x01, 'q', 0xF0, 0xF0 }, "qqqq" },
        { "reference cut after its first byte", { 0x01, 'q', 0xF0 }, "q" },
    };
    for (const CCase& c : cases) {
        SCOPED_TRACE(c.pszName);
        const CBytes out = ExpandExactly(c.stream, 100);
        EXPECT_EQ(c.strExpected, std::string(out.begin(), out.end()));
    }
}

TEST(SzddCodec, TruncatedStreamsGiveAPrefixAndStayInBounds)
{
    const CBytes data = SyntheticSamples().back().data;
    const CBytes stream = StreamOf(SzddCompress(data.data(), data.size()));
    size_t cbLast = 0;
    for (size_t cbCut = 0; cbCut <= stream.size(); cbCut += 1 + cbCut / 50) {
        const CBytes out = ExpandExactly(CBytes(stream.begin(), stream.begin() + cbCut), data.size());
        ASSERT_EQ(Prefix(data, out.size()), out) << "cut at " << cbCut;
        ASSERT_GE(out.size(), cbLast) << "cut at " << cbCut;
        cbLast = out.size();
    }
}

TEST(SzddCodec, StopsExactlyAtTheOutputLimit)
{
    const CBytes data = CBytes(1000, 'x');     // a few long references
    const CBytes stream = StreamOf(SzddCompress(data.data(), data.size()));
    for (size_t cbOut : { size_t(0), size_t(1), size_t(2), size_t(5), size_t(17), size_t(500), size_t(999) }) {
        SCOPED_TRACE(cbOut);
        EXPECT_EQ(Prefix(data, cbOut), ExpandExactly(stream, cbOut));
    }
}

TEST(SzddCodec, ReadsTheHeaderOnlyOfACompleteSzddFile)
{
    const CBytes good = { 'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33, 'A', 'e', 0x78, 0x56, 0x34, 0x12 };
    SzddHeader header;
    ASSERT_TRUE(SzddReadHeader(good.data(), good.size(), &header));
    EXPECT_EQ('A', header.nMode);
    EXPECT_EQ('e', header.chLast);
    EXPECT_EQ(0x12345678u, header.cbExpanded);

    CBytes badSignature = good;
    badSignature[7] = 0x34;
    EXPECT_FALSE(SzddReadHeader(badSignature.data(), badSignature.size(), &header));
    EXPECT_FALSE(SzddReadHeader(good.data(), good.size() - 1, &header));
    EXPECT_FALSE(SzddReadHeader(good.data() + 4, good.size() - 4, &header)) << "a payload body is not a file";
}

} // namespace
