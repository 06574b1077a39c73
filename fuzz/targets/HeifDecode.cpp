// Arbitrary bytes through the HEIF/AVIF decoder and the animated AVIF decoder (see
// DecoderFuzz.h).
#include "DecoderFuzz.h"
#include "imaging/AvifSequenceDecoder.h"
#include "imaging/HeifDecoder.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    vellumo::fuzz::InitQt(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vellumo::fuzz::Exercise(vellumo::imaging::OpenHeif, data, size);
    vellumo::fuzz::Exercise(vellumo::imaging::OpenAvifSequence, data, size);
    return 0;
}
