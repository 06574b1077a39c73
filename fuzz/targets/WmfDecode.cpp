// Arbitrary bytes through the WMF decoder (see DecoderFuzz.h).
#include "DecoderFuzz.h"
#include "imaging/VectorDecoder.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    vellumo::fuzz::InitQt(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vellumo::fuzz::Exercise(vellumo::imaging::OpenWmf, data, size);
    return 0;
}
