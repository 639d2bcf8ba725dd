// Fuzzes the "Orvel.cfg" reader: any bytes load without a fault, and what was loaded stores and
// loads back to the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "document/OrvelSettings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    COrvelSettings first("/opt/halvo/");
    first.LoadFromBytes(data, size);
    const std::string stored = first.StoreToBytes();

    COrvelSettings second("/opt/halvo/");
    if (second.LoadFromBytes(reinterpret_cast<const uint8_t*>(stored.data()), stored.size()) != 1 ||
        second.StoreToBytes() != stored) {
        std::abort();  // loaded values must be ones the writer and reader agree on
    }
    return 0;
}
