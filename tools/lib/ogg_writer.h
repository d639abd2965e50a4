// Encodes mono samples as an OGG Vorbis file with libvorbisenc. The stream's serial number is
// fixed and no date is written, so the same samples always give the same bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace gen {

// quality: libvorbisenc's VBR quality (-0.1 .. 1.0). Samples are in -1..1 at kSampleRate.
std::vector<uint8_t> EncodeOgg(const std::vector<float>& samples, float quality, const std::string& title);
// The same for any number of channels (all of one length) at any sample rate.
std::vector<uint8_t> EncodeOggChannels(const std::vector<std::vector<float>>& channels, int rate, float quality,
                                       const std::string& title);
bool SaveOgg(const std::string& path, const std::vector<float>& samples, float quality, const std::string& title);

// Decodes an OGG Vorbis file back to mono samples (checks of generated sound); empty on failure.
std::vector<float> DecodeOgg(const std::vector<uint8_t>& bytes);

}  // namespace gen
