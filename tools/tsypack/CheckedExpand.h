#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Expands a mode 'A' stream that must give exactly cbExpanded bytes; throws
// CToolError naming strWhat when the header's length cannot be right.
std::vector<unsigned char> ExpandChecked(const unsigned char* pStream, size_t cbStream, uint32_t cbExpanded,
    const std::string& strWhat);
