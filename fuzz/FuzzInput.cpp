// The opening of an input file: a file whose first line feed after the first byte follows
// anything but a carriage return is copied beside it with every line feed written as CR LF; any
// other file is read as it is. The copy is removed after each input.
#include "FuzzSupport.h"

#include "scan/InputFile.h"
#include "text/ScanObserver.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

namespace {

std::string contentOf(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto input = fuzz::writeInput(data, size, "fuzz0010.09o");
    const std::string name = input.string();
    const std::string copyName = scan::ConvertedCopyName(name, 0);

    text::NullScanObserver observer;
    std::string inUse;
    const bool opened = scan::OpenInputFile(name, inUse, observer);

    // The first byte itself is never taken as the line feed of the test.
    const std::size_t lineFeed = bytes.find('\n', 1);
    const bool bare = lineFeed != std::string_view::npos && bytes[lineFeed - 1] != '\r';
    if (size == 0) {
        fuzz::check(!opened);
    } else if (!bare) {
        fuzz::check(opened && inUse == name);
    } else {
        fuzz::check(opened && inUse == copyName);
        std::string expected;
        expected.reserve(size + size / 8);
        for (char c : bytes) {
            if (c == '\n')
                expected.push_back('\r');
            expected.push_back(c);
        }
        fuzz::check(contentOf(copyName) == expected);
        // The input itself is never changed.
        fuzz::check(contentOf(input) == bytes);
    }
    std::error_code ec;
    std::filesystem::remove(copyName, ec);
    return 0;
}
