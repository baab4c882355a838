#pragma once
#include <stdexcept>
#include <string>
#include <vector>

// A failure the user has to act on; main prints its text and exits non-zero.
class CToolError : public std::runtime_error
{
public:
    explicit CToolError(const std::string& strMessage) : std::runtime_error(strMessage) {}
};

std::vector<unsigned char> ReadWholeFile(const std::string& strPath);

// Writes to a temporary name in the same directory and renames it over
// strPath, so a failure never leaves a half-written file under that name.
void WriteFileReplacing(const std::string& strPath, const std::vector<unsigned char>& data);
