#include "tests/support/sound_test_files.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace vtrak::test {

void AppendLittleEndian(Bytes& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

uint32_t ReadLittleEndian(const Bytes& in, size_t offset, int bytes) {
  uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = value << 8 | in[offset + static_cast<size_t>(i)];
  return value;
}

void AppendText(Bytes& out, const char* text) {
  while (*text != '\0') out.push_back(static_cast<uint8_t>(*text++));
}

void WriteFile(const std::string& path, const Bytes& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) throw std::runtime_error("cannot write " + path);
  if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

Bytes ReadFile(const std::string& path) {
  Bytes bytes;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return bytes;
  for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) {
    bytes.push_back(static_cast<uint8_t>(c));
  }
  std::fclose(file);
  return bytes;
}

Bytes CanonicalWavHeader(const WavFields& f) {
  Bytes out;
  AppendText(out, "RIFF");
  AppendLittleEndian(out, f.dataLength + 36, 4);
  AppendText(out, "WAVEfmt ");
  AppendLittleEndian(out, 16, 4);
  AppendLittleEndian(out, f.formatTag, 2);
  AppendLittleEndian(out, f.channels, 2);
  AppendLittleEndian(out, f.rate, 4);
  AppendLittleEndian(out, f.bytesPerSecond, 4);
  AppendLittleEndian(out, f.blockAlign, 2);
  AppendLittleEndian(out, f.bitsPerSample, 2);
  AppendText(out, "data");
  AppendLittleEndian(out, f.dataLength, 4);
  return out;
}

Bytes RampBytes(size_t count) {
  Bytes out(count);
  for (size_t i = 0; i < count; ++i) out[i] = static_cast<uint8_t>(i * 7 % 100);
  return out;
}

namespace {

void AppendPage(Bytes& out, const ogg_page& page) {
  out.insert(out.end(), page.header, page.header + page.header_len);
  out.insert(out.end(), page.body, page.body + page.body_len);
}

}  // namespace

void AppendOggStream(Bytes& out, int channels, long rate, long frames, int serial) {
  vorbis_info info;
  vorbis_info_init(&info);
  if (vorbis_encode_init_vbr(&info, channels, rate, 0.0f) != 0) {
    throw std::runtime_error("vorbis_encode_init_vbr refused the format");
  }
  vorbis_comment comment;
  vorbis_comment_init(&comment);
  vorbis_dsp_state dsp;
  vorbis_block block;
  vorbis_analysis_init(&dsp, &info);
  vorbis_block_init(&dsp, &block);
  ogg_stream_state stream;
  ogg_stream_init(&stream, serial);

  ogg_packet identification, comments, codebooks;
  vorbis_analysis_headerout(&dsp, &comment, &identification, &comments, &codebooks);
  ogg_stream_packetin(&stream, &identification);
  ogg_stream_packetin(&stream, &comments);
  ogg_stream_packetin(&stream, &codebooks);
  ogg_page page;
  while (ogg_stream_flush(&stream, &page) != 0) AppendPage(out, page);

  constexpr long kChunk = 4096;
  long done = 0;
  bool ended = false;
  while (!ended) {
    const long count = std::min(kChunk, frames - done);
    if (count > 0) {
      float** buffers = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
      for (long i = 0; i < count; ++i) {
        const double t = static_cast<double>(done + i) / static_cast<double>(rate);
        for (int c = 0; c < channels; ++c) {
          buffers[c][i] = static_cast<float>(0.3 * std::sin(6.283185307 * (330.0 + 110.0 * c) * t));
        }
      }
      vorbis_analysis_wrote(&dsp, static_cast<int>(count));
      done += count;
    } else {
      vorbis_analysis_wrote(&dsp, 0);
    }
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
      vorbis_analysis(&block, nullptr);
      vorbis_bitrate_addblock(&block);
      ogg_packet packet;
      while (vorbis_bitrate_flushpacket(&dsp, &packet) != 0) {
        ogg_stream_packetin(&stream, &packet);
        while (ogg_stream_pageout(&stream, &page) != 0) {
          AppendPage(out, page);
          if (ogg_page_eos(&page) != 0) ended = true;
        }
      }
    }
  }
  ogg_stream_clear(&stream);
  vorbis_block_clear(&block);
  vorbis_dsp_clear(&dsp);
  vorbis_comment_clear(&comment);
  vorbis_info_clear(&info);
}

ScratchDirectory::ScratchDirectory() : previous_(std::filesystem::current_path()) {
  std::filesystem::current_path(folder_.path());
}

ScratchDirectory::~ScratchDirectory() {
  // Out of the folder before the folder goes.
  std::error_code ignored;
  std::filesystem::current_path(previous_, ignored);
}

}  // namespace vtrak::test
