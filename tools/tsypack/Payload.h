#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// One record of a payload, as found by WalkPayload.
struct CPayloadEntry
{
    size_t nPosition;
    size_t nOffset;         // of the length field; the body follows it
    uint32_t cbBody;
    uint32_t cbExpanded;
};

struct CPayloadWalk
{
    std::vector<CPayloadEntry> entries;     // the records read before any fault
    std::string strError;                   // the first structural fault, empty when none
};

// Appends one record per SZDD file, dropping each file's leading "SZDD", then the end marker.
std::vector<unsigned char> BuildPayload(const std::vector<std::vector<unsigned char>>& szddFiles);

// Reads every record up to the end marker and checks each body's signature and mode.
CPayloadWalk WalkPayload(const std::vector<unsigned char>& payload);

// The name setup.exe installs record nPosition under; "(not installed)" beyond its table.
std::string InstallNameOf(size_t nPosition);

// Expands the record's body; throws CToolError when it does not give its expanded length.
std::vector<unsigned char> ExpandRecord(const std::vector<unsigned char>& payload, const CPayloadEntry& entry);
