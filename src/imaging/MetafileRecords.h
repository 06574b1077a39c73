#pragma once
// Checks of a metafile's record structure made before a library plays it: the metafile
// libraries trust the sizes in the file (libemf2svg reads past the end of a short or empty
// file, libwmf allocates whatever the header's largest-record field claims), so a file
// whose records do not fit its bytes never reaches them.

#include <cstdint>
#include <span>

namespace vellumo::imaging {

// An EMF: a header record with its signature first, then records of at least 8 bytes, in
// whole 32-bit words, each inside the file, up to the end-of-file record.
bool EmfRecordsFit(std::span<const uint8_t> emf);

// A WMF (with or without its placeable header): a header of 9 words, then records of at
// least 3 words, none larger than the header's largest-record size, each inside the file,
// up to the end-of-file record; the largest-record size itself inside the file; every
// bitmap a record carries no larger than its bytes can hold.
bool WmfRecordsFit(std::span<const uint8_t> wmf);

}  // namespace vellumo::imaging
