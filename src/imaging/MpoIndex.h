#pragma once
// Multi-picture JPEG files: the first image carries an index (the "MPF" application
// segment) of the other images stored after it in the same file.

#include <cstdint>
#include <span>
#include <vector>

namespace vellumo::imaging {

// File offsets of the images listed after the first, in listed order, read from the
// segments before the first image's data at the start of `head`; empty when there is
// no index or it is damaged.
std::vector<uint64_t> MpoImageOffsets(std::span<const uint8_t> head);

}  // namespace vellumo::imaging
