#include "shell/skin.h"

#include <algorithm>
#include <cmath>

namespace zr::shell {

namespace {

constexpr std::uint8_t kMagic[5] = {'Z', 'S', 'K', 'N', 0x1A};
constexpr std::size_t kHeaderSize = 7;

std::uint32_t fnv1a(std::span<const std::uint8_t> bytes) {
  std::uint32_t hash = 2166136261u;
  for (std::uint8_t b : bytes) {
    hash ^= b;
    hash *= 16777619u;
  }
  return hash;
}

struct Hsv {
  double h, s, v;
};

Hsv toHsv(Rgb c) {
  double r = c.r / 255.0, g = c.g / 255.0, b = c.b / 255.0;
  double mx = std::max({r, g, b}), mn = std::min({r, g, b}), d = mx - mn;
  double h = 0;
  if (d > 0) {
    if (mx == r)
      h = 60 * std::fmod((g - b) / d, 6.0);
    else if (mx == g)
      h = 60 * ((b - r) / d + 2);
    else
      h = 60 * ((r - g) / d + 4);
  }
  if (h < 0) h += 360;
  return {h, mx > 0 ? d / mx : 0, mx};
}

Rgb toRgb(Hsv c) {
  double cc = c.v * c.s, x = cc * (1 - std::fabs(std::fmod(c.h / 60, 2.0) - 1)), m = c.v - cc;
  double r = 0, g = 0, b = 0;
  int sector = static_cast<int>(c.h / 60) % 6;
  switch (sector) {
    case 0:
      r = cc, g = x;
      break;
    case 1:
      r = x, g = cc;
      break;
    case 2:
      g = cc, b = x;
      break;
    case 3:
      g = x, b = cc;
      break;
    case 4:
      r = x, b = cc;
      break;
    default:
      r = cc, b = x;
      break;
  }
  auto byte = [](double v) { return static_cast<std::uint8_t>(std::clamp(std::lround(v * 255), 0L, 255L)); };
  return {byte(r + m), byte(g + m), byte(b + m)};
}

double linear(std::uint8_t channel) {
  double c = channel / 255.0;
  return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(Rgb c) { return 0.2126 * linear(c.r) + 0.7152 * linear(c.g) + 0.0722 * linear(c.b); }

}  // namespace

std::optional<Palette> parseSkin(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kHeaderSize + 4) return std::nullopt;
  if (!std::equal(std::begin(kMagic), std::end(kMagic), bytes.begin())) return std::nullopt;
  if (bytes[5] != kSkinVersion) return std::nullopt;
  const std::size_t count = bytes[6];
  if (bytes.size() != kHeaderSize + count * 4 + 4) return std::nullopt;
  const std::size_t body = bytes.size() - 4;
  std::uint32_t stored =
      bytes[body] | bytes[body + 1] << 8 | bytes[body + 2] << 16 | static_cast<std::uint32_t>(bytes[body + 3]) << 24;
  if (stored != fnv1a(bytes.first(body))) return std::nullopt;

  Palette palette;
  std::array<bool, static_cast<std::size_t>(SkinRole::kCount)> given{};
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t* entry = &bytes[kHeaderSize + i * 4];
    if (entry[0] >= static_cast<std::uint8_t>(SkinRole::kCount)) return std::nullopt;
    palette.colours[entry[0]] = {entry[1], entry[2], entry[3]};
    given[entry[0]] = true;
  }
  if (!std::all_of(given.begin(), given.end(), [](bool g) { return g; })) return std::nullopt;
  return palette;
}

std::vector<std::uint8_t> encodeSkin(const Palette& palette) {
  std::vector<std::uint8_t> out(std::begin(kMagic), std::end(kMagic));
  out.push_back(kSkinVersion);
  out.push_back(static_cast<std::uint8_t>(palette.colours.size()));
  for (std::size_t i = 0; i < palette.colours.size(); ++i) {
    out.insert(out.end(),
               {static_cast<std::uint8_t>(i), palette.colours[i].r, palette.colours[i].g, palette.colours[i].b});
  }
  std::uint32_t hash = fnv1a(out);
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(hash >> shift));
  return out;
}

Palette adjustPalette(const Palette& palette, int hue, int second) {
  hue = std::clamp(hue, -180, 180);
  second = std::clamp(second, -100, 100);
  if (hue == 0 && second == 0) return palette;
  Palette out = palette;
  for (Rgb& colour : out.colours) {
    Hsv hsv = toHsv(colour);
    hsv.h = std::fmod(hsv.h + hue + 360, 360.0);
    hsv.s = std::clamp(hsv.s * (1 + second / 100.0), 0.0, 1.0);
    colour = toRgb(hsv);
  }
  return out;
}

double contrastRatio(Rgb a, Rgb b) {
  double la = luminance(a), lb = luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

void SkinEngine::setPainter(SkinPainter* painter) {
  std::lock_guard lock(mutex_);
  painter_ = painter;
}

void SkinEngine::attach(std::span<const std::uint8_t> skin, int hue, int second) {
  std::lock_guard lock(mutex_);
  if (!setUp_) {
    setUp_ = true;
    ++counts_.setUps;
  }
  ++counts_.attaches;
  base_ = parseSkin(skin);

  second = std::clamp(second, -100, 100);
  hue = std::clamp(hue, -180, 180);
  ++counts_.adjustments;
  counts_.lastHue = hue;
  counts_.lastSecond = second;
  if (base_) {
    current_ = adjustPalette(*base_, hue, second);
    if (painter_) painter_->apply(*current_);
  } else {
    current_.reset();
    if (painter_) painter_->remove();
  }
}

void SkinEngine::detach() {
  std::lock_guard lock(mutex_);
  if (!setUp_) return;
  ++counts_.detaches;
  current_.reset();
  if (painter_) painter_->remove();
}

SkinEngine::Counts SkinEngine::counts() const {
  std::lock_guard lock(mutex_);
  return counts_;
}

std::optional<Palette> SkinEngine::current() const {
  std::lock_guard lock(mutex_);
  return current_;
}

SkinEngine& processSkinEngine() {
  static SkinEngine engine;
  return engine;
}

}  // namespace zr::shell
