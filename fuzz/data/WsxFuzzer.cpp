// Feeds arbitrary bytes to the data-file reader and renders what it read.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "data/RadData.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    static const std::string path = "/tmp/halvo-fuzz-wsx-" + std::to_string(::getpid()) + ".wsx";
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return 0;
    }
    std::fwrite(bytes, 1, size, file);
    std::fclose(file);
    CRadData data;
    const int count = data.LoadFile(path.c_str());
    std::string text;
    data.GetHeaderText(text);
    if (count > 0) {
        data.Select(count - 1, 0);
        data.GetRecordText(text);
        data.GetLum();
    }
    return 0;
}
