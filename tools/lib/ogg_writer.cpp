#include "ogg_writer.h"

#include <vorbis/codec.h>
#include <vorbis/vorbisenc.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstring>
#include <fstream>

#include "synth.h"

namespace gen {

namespace {

constexpr int kSerial = 0x51524658;  // the same for every file

void Append(std::vector<uint8_t>& out, const ogg_page& page) {
  out.insert(out.end(), page.header, page.header + page.header_len);
  out.insert(out.end(), page.body, page.body + page.body_len);
}

}  // namespace

std::vector<uint8_t> EncodeOgg(const std::vector<float>& samples, float quality, const std::string& title) {
  return EncodeOggChannels({samples}, kSampleRate, quality, title);
}

std::vector<uint8_t> EncodeOggChannels(const std::vector<std::vector<float>>& channels, int rate, float quality,
                                       const std::string& title) {
  std::vector<uint8_t> out;
  if (channels.empty()) return out;
  const size_t length = channels[0].size();
  vorbis_info info;
  vorbis_info_init(&info);
  if (vorbis_encode_init_vbr(&info, static_cast<int>(channels.size()), rate, quality) != 0) {
    vorbis_info_clear(&info);
    return out;
  }
  vorbis_comment comment;
  vorbis_comment_init(&comment);
  vorbis_comment_add_tag(&comment, "TITLE", title.c_str());
  vorbis_comment_add_tag(&comment, "ARTIST", "the Quorvex team");
  vorbis_dsp_state dsp;
  vorbis_block block;
  vorbis_analysis_init(&dsp, &info);
  vorbis_block_init(&dsp, &block);
  ogg_stream_state stream;
  ogg_stream_init(&stream, kSerial);

  ogg_packet header, headerComment, headerCode;
  vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
  ogg_stream_packetin(&stream, &header);
  ogg_stream_packetin(&stream, &headerComment);
  ogg_stream_packetin(&stream, &headerCode);
  ogg_page page;
  while (ogg_stream_flush(&stream, &page) != 0) Append(out, page);

  const size_t chunk = 4096;
  size_t position = 0;
  bool finished = false;
  while (!finished) {
    const size_t n = std::min(chunk, length - position);
    if (n == 0) {
      vorbis_analysis_wrote(&dsp, 0);
    } else {
      float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(n));
      for (size_t c = 0; c < channels.size(); ++c)
        for (size_t i = 0; i < n; ++i) buffer[c][i] = std::clamp(channels[c][position + i], -1.0f, 1.0f);
      vorbis_analysis_wrote(&dsp, static_cast<int>(n));
      position += n;
    }
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
      vorbis_analysis(&block, nullptr);
      vorbis_bitrate_addblock(&block);
      ogg_packet packet;
      while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
        ogg_stream_packetin(&stream, &packet);
        while (ogg_stream_pageout(&stream, &page) != 0) {
          Append(out, page);
          if (ogg_page_eos(&page)) finished = true;
        }
      }
    }
    if (n == 0 && !finished) {
      while (ogg_stream_flush(&stream, &page) != 0) Append(out, page);
      finished = true;
    }
  }
  ogg_stream_clear(&stream);
  vorbis_block_clear(&block);
  vorbis_dsp_clear(&dsp);
  vorbis_comment_clear(&comment);
  vorbis_info_clear(&info);
  return out;
}

bool SaveOgg(const std::string& path, const std::vector<float>& samples, float quality, const std::string& title) {
  const std::vector<uint8_t> bytes = EncodeOgg(samples, quality, title);
  if (bytes.empty()) return false;
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

namespace {

struct MemoryFile {
  const std::vector<uint8_t>* bytes;
  size_t position = 0;
};

size_t ReadMemory(void* ptr, size_t size, size_t count, void* source) {
  auto* file = static_cast<MemoryFile*>(source);
  const size_t want = size * count;
  const size_t n = std::min(want, file->bytes->size() - file->position);
  std::memcpy(ptr, file->bytes->data() + file->position, n);
  file->position += n;
  return size ? n / size : 0;
}

}  // namespace

std::vector<float> DecodeOgg(const std::vector<uint8_t>& bytes) {
  std::vector<float> samples;
  MemoryFile file{&bytes};
  ov_callbacks callbacks{ReadMemory, nullptr, nullptr, nullptr};
  OggVorbis_File vf;
  if (ov_open_callbacks(&file, &vf, nullptr, 0, callbacks) != 0) return samples;
  int section = 0;
  for (;;) {
    float** pcm = nullptr;
    const long n = ov_read_float(&vf, &pcm, 4096, &section);
    if (n <= 0) break;
    samples.insert(samples.end(), pcm[0], pcm[0] + n);
  }
  ov_clear(&vf);
  return samples;
}

}  // namespace gen
