// The new-draw chime held in the program: a well-formed 8-bit mono PCM WAV
// image of the expected size that sounds like a chime, not a click.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <map>
#include <set>
#include <span>
#include <string>

#include "resources/resources.h"

namespace {

std::uint32_t le32(std::span<const std::uint8_t> b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}
std::uint16_t le16(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}
std::string tag(std::span<const std::uint8_t> b, std::size_t at) {
  return std::string(b.begin() + at, b.begin() + at + 4);
}

// The chunks after "WAVE", by id, as spans of their bodies.
std::map<std::string, std::span<const std::uint8_t>> chunks(std::span<const std::uint8_t> wav) {
  std::map<std::string, std::span<const std::uint8_t>> out;
  std::size_t at = 12;
  while (at + 8 <= wav.size()) {
    std::uint32_t size = le32(wav, at + 4);
    if (at + 8 + size > wav.size()) break;
    out[tag(wav, at)] = wav.subspan(at + 8, size);
    at += 8 + size + (size & 1);
  }
  return out;
}

TEST(ChimeWav, HeaderFieldsAndSizes) {
  auto wav = zr::res::chimeWav();
  ASSERT_EQ(wav.size(), 33166u);
  EXPECT_EQ(tag(wav, 0), "RIFF");
  EXPECT_EQ(le32(wav, 4), wav.size() - 8);
  EXPECT_EQ(tag(wav, 8), "WAVE");

  auto c = chunks(wav);
  ASSERT_TRUE(c.count("fmt "));
  ASSERT_TRUE(c.count("data"));
  auto fmt = c["fmt "];
  ASSERT_GE(fmt.size(), 16u);
  struct Field {
    const char* name;
    std::uint32_t actual, expected;
  } fields[] = {
      {"format tag", le16(fmt, 0), 1},
      {"channels", le16(fmt, 2), 1},
      {"samples per second", le32(fmt, 4), 22050},
      {"bytes per second", le32(fmt, 8), 22050},
      {"block alignment", le16(fmt, 12), 1},
      {"bits per sample", le16(fmt, 14), 8},
  };
  for (const auto& f : fields) EXPECT_EQ(f.actual, f.expected) << f.name;
  EXPECT_EQ(c["data"].size(), 33082u);
  // The data chunk ends the image.
  EXPECT_EQ(c["data"].data() + c["data"].size(), wav.data() + wav.size());
}

TEST(ChimeWav, SoundsLikeAChime) {
  auto c = chunks(zr::res::chimeWav());
  auto pcm = c["data"];
  ASSERT_EQ(pcm.size(), 33082u);

  // Unsigned 8-bit centred on 128, never touching the limits (no clipping).
  std::set<int> levels;
  for (std::uint8_t s : pcm) {
    ASSERT_GT(s, 0);
    ASSERT_LT(s, 255);
    levels.insert(s);
  }
  EXPECT_GT(levels.size(), 100u) << "a square wave or a click has few levels";

  // Starts and ends on silence: a soft attack, no click at either end.
  EXPECT_NEAR(pcm.front(), 128, 2);
  EXPECT_NEAR(pcm.back(), 128, 2);
  const std::size_t ms = 22050 / 1000;
  for (std::size_t i = 0; i < 2 * ms; ++i) EXPECT_NEAR(pcm[i], 128, 40) << "sample " << i;

  // Loud soon after the start, and fading: the last tenth is much quieter
  // than the first.
  auto rms = [&](std::size_t from, std::size_t to) {
    double sum = 0;
    for (std::size_t i = from; i < to; ++i) sum += (pcm[i] - 128.0) * (pcm[i] - 128.0);
    return std::sqrt(sum / static_cast<double>(to - from));
  };
  const std::size_t tenth = pcm.size() / 10;
  EXPECT_GT(rms(0, tenth), 20.0);
  EXPECT_LT(rms(9 * tenth, pcm.size()), rms(0, tenth) / 4);
}

}  // namespace
