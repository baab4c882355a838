// Any stream: the decoder stays in bounds, and the encoder, being optimal,
// never needs more bytes than the stream that gave the same output.
#include "install/SzddCodec.h"

#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t cbData)
{
    if (cbData < 2)
        return 0;
    const size_t cbOut = pData[0] | pData[1] << 8;
    const unsigned char* pStream = pData + 2;
    const size_t cbStream = cbData - 2;

    // Exact-size heap blocks, so that the sanitizer sees a single byte too far.
    std::vector<unsigned char> out(cbOut);
    const size_t cbWritten = SzddExpand(pStream, cbStream, out.data(), cbOut);
    if (cbWritten > cbOut)
        std::abort();
    out.resize(cbWritten);

    const std::vector<unsigned char> file = SzddCompress(out.data(), out.size());
    std::vector<unsigned char> again(out.size());
    if (SzddExpand(file.data() + SzddHeaderSize, file.size() - SzddHeaderSize, again.data(), again.size()) != out.size()
        || again != out)
        std::abort();
    // When the limit did not stop the decoder, the input was a whole encoding of out.
    if (cbWritten < cbOut && file.size() - SzddHeaderSize > cbStream)
        std::abort();
    return 0;
}
