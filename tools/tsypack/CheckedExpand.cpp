#include "tools/tsypack/CheckedExpand.h"

#include "install/SzddCodec.h"
#include "tools/tsypack/FileIo.h"

namespace {

// At best a control bit and two bytes give 18 bytes, so 17 bytes of stream
// give at most 8 references; this bounds the allocation a header can demand.
uint64_t MaxExpandedFrom(size_t cbStream)
{
    return (uint64_t(cbStream) / 17 + 1) * 8 * 18;
}

} // namespace

std::vector<unsigned char> ExpandChecked(const unsigned char* pStream, size_t cbStream, uint32_t cbExpanded,
    const std::string& strWhat)
{
    if (cbExpanded > MaxExpandedFrom(cbStream))
        throw CToolError(strWhat + ": expanded length " + std::to_string(cbExpanded) + " is more than "
            + std::to_string(cbStream) + " bytes of compressed data can hold");
    std::vector<unsigned char> expanded(cbExpanded);
    const size_t cbWritten = SzddExpand(pStream, cbStream, expanded.data(), expanded.size());
    if (cbWritten != expanded.size())
        throw CToolError(strWhat + ": the compressed data ends after " + std::to_string(cbWritten) + " of "
            + std::to_string(expanded.size()) + " bytes");
    return expanded;
}
