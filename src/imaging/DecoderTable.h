#pragma once
// The table of input decoders. The first bytes of a file, not its name, decide which
// decoder serves it; a new format is one more row in DecoderTable.cpp.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>

#include "imaging/Decoder.h"

namespace vellumo::imaging {

// How many leading bytes the sniffers look at.
inline constexpr size_t kSniffBytes = 64;  // EMF's signature sits at byte 40

// Name of the table row whose signature `head` matches ("JPEG", "PNG", ...); empty
// when none does.
std::string SniffFormat(std::span<const uint8_t> head);

// Opens `path` with the decoder its content calls for; null with `error` set when the
// file cannot be read, matches no decoder, or is refused by the decoder.
std::unique_ptr<Decoder> OpenDecoder(const std::filesystem::path& path, std::string& error);

}  // namespace vellumo::imaging
