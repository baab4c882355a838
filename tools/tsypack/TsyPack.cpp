// tsypack: builds and inspects the payload that setup.exe carries, and
// compresses or expands single SZDD files.
#include "install/SzddCodec.h"
#include "tools/tsypack/CheckedExpand.h"
#include "tools/tsypack/FileIo.h"
#include "tools/tsypack/Payload.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

const char Usage[] =
    "usage: tsypack COMMAND ...\n"
    "\n"
    "  pack -o PAYLOAD FILE...   compress each FILE into one record, in order, then the end marker\n"
    "  list PAYLOAD              show each record: position, offset, body length, expanded length,\n"
    "                            and the name setup.exe installs it as\n"
    "  unpack PAYLOAD DIR        expand every record into DIR under its install name\n"
    "  compress IN OUT           write IN as a single SZDD file (mode 'A')\n"
    "  expand IN OUT             expand the single SZDD file IN\n"
    "  --help                    show this text\n"
    "\n"
    "Records beyond the fourth are unpacked as recordN. Output files are written under a\n"
    "temporary name and renamed, so a failure leaves no partial file behind.\n";

const int ExitFailure = 1;
const int ExitUsage = 2;

std::vector<unsigned char> CompressFile(const std::string& strPath)
{
    const std::vector<unsigned char> data = ReadWholeFile(strPath);
    if (data.size() >= SzddMaxCompressSize)
        throw CToolError("'" + strPath + "' is too large to compress (4 GB at most)");
    return SzddCompress(data.data(), data.size());
}

int Pack(const std::vector<std::string>& args)
{
    if (args.size() < 2 || args[0] != "-o")
        throw CToolError("pack needs -o PAYLOAD and the files to pack");
    std::vector<std::vector<unsigned char>> files;
    for (size_t i = 2; i < args.size(); ++i)
        files.push_back(CompressFile(args[i]));
    WriteFileReplacing(args[1], BuildPayload(files));
    return 0;
}

int List(const std::vector<std::string>& args)
{
    if (args.size() != 1)
        throw CToolError("list needs exactly one PAYLOAD");
    const CPayloadWalk walk = WalkPayload(ReadWholeFile(args[0]));
    std::printf("%8s %10s %10s %10s  %s\n", "position", "offset", "body", "expanded", "installed as");
    for (const CPayloadEntry& entry : walk.entries)
        std::printf("%8zu %10zu %10u %10u  %s\n", entry.nPosition, entry.nOffset, unsigned(entry.cbBody),
            unsigned(entry.cbExpanded), InstallNameOf(entry.nPosition).c_str());
    if (!walk.strError.empty())
        throw CToolError("'" + args[0] + "': " + walk.strError);
    return 0;
}

int Unpack(const std::vector<std::string>& args)
{
    if (args.size() != 2)
        throw CToolError("unpack needs a PAYLOAD and a DIR");
    const std::vector<unsigned char> payload = ReadWholeFile(args[0]);
    const CPayloadWalk walk = WalkPayload(payload);
    // A damaged payload is refused as a whole rather than half unpacked.
    if (!walk.strError.empty())
        throw CToolError("'" + args[0] + "': " + walk.strError);
    std::vector<std::vector<unsigned char>> expanded;
    for (const CPayloadEntry& entry : walk.entries)
        expanded.push_back(ExpandRecord(payload, entry));

    std::error_code error;
    std::filesystem::create_directories(args[1], error);
    if (error)
        throw CToolError("cannot create directory '" + args[1] + "': " + error.message());
    for (size_t i = 0; i < expanded.size(); ++i) {
        const std::string strName = i < 4 ? InstallNameOf(i) : "record" + std::to_string(i);
        WriteFileReplacing((std::filesystem::path(args[1]) / strName).string(), expanded[i]);
    }
    return 0;
}

int Compress(const std::vector<std::string>& args)
{
    if (args.size() != 2)
        throw CToolError("compress needs IN and OUT");
    WriteFileReplacing(args[1], CompressFile(args[0]));
    return 0;
}

int Expand(const std::vector<std::string>& args)
{
    if (args.size() != 2)
        throw CToolError("expand needs IN and OUT");
    const std::vector<unsigned char> file = ReadWholeFile(args[0]);
    SzddHeader header;
    if (!SzddReadHeader(file.data(), file.size(), &header))
        throw CToolError("'" + args[0] + "' is not an SZDD file (bad signature or shorter than its header)");
    if (header.nMode != SzddModeLzss)
        throw CToolError("'" + args[0] + "' uses compression mode " + std::to_string(header.nMode) + ", not 'A'");
    WriteFileReplacing(args[1], ExpandChecked(file.data() + SzddHeaderSize, file.size() - SzddHeaderSize,
        header.cbExpanded, "'" + args[0] + "'"));
    return 0;
}

int Run(const std::string& strCommand, const std::vector<std::string>& args)
{
    if (strCommand == "pack")
        return Pack(args);
    if (strCommand == "list")
        return List(args);
    if (strCommand == "unpack")
        return Unpack(args);
    if (strCommand == "compress")
        return Compress(args);
    if (strCommand == "expand")
        return Expand(args);
    std::fprintf(stderr, "tsypack: unknown command '%s'\n\n%s", strCommand.c_str(), Usage);
    return ExitUsage;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fputs(Usage, stderr);
        return ExitUsage;
    }
    const std::string strCommand = argv[1];
    if (strCommand == "--help" || strCommand == "-h") {
        std::fputs(Usage, stdout);
        return 0;
    }
    try {
        return Run(strCommand, std::vector<std::string>(argv + 2, argv + argc));
    } catch (const std::exception& e) {
        std::fflush(stdout);
        std::fprintf(stderr, "tsypack: %s\n", e.what());
        return ExitFailure;
    }
}
