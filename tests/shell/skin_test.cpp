#include "shell/skin.h"

#include <gtest/gtest.h>

#include "resources/resources.h"

namespace zr::shell {
namespace {

struct RecordingPainter : SkinPainter {
  std::vector<Palette> applied;
  int removed = 0;
  void apply(const Palette& p) override { applied.push_back(p); }
  void remove() override { ++removed; }
};

Palette samplePalette() {
  Palette p;
  for (std::size_t i = 0; i < p.colours.size(); ++i) p.colours[i] = {std::uint8_t(10 * i), 200, std::uint8_t(255 - i)};
  return p;
}

TEST(SkinFormat, RoundTrips) {
  auto bytes = encodeSkin(samplePalette());
  auto back = parseSkin(bytes);
  ASSERT_TRUE(back);
  EXPECT_EQ(*back, samplePalette());
}

TEST(SkinFormat, RefusesDamagedBlocks) {
  const auto good = encodeSkin(samplePalette());
  struct Case {
    const char* what;
    std::vector<std::uint8_t> bytes;
  };
  std::vector<Case> cases;
  cases.push_back({"empty", {}});
  cases.push_back({"truncated", {good.begin(), good.end() - 1}});
  auto badMagic = good;
  badMagic[0] = 'X';
  cases.push_back({"magic", badMagic});
  auto otherVersion = good;
  otherVersion[5] = 2;
  cases.push_back({"version", otherVersion});
  auto flipped = good;
  flipped[10] ^= 0x40;
  cases.push_back({"colour byte changed", flipped});
  auto extra = good;
  extra.push_back(0);
  cases.push_back({"trailing byte", extra});
  for (const auto& c : cases) EXPECT_FALSE(parseSkin(c.bytes)) << c.what;
}

TEST(SkinFormat, RefusesABlockThatMissesARole) {
  // A well-formed block that gives the first role twice and the last not at all.
  auto bytes = encodeSkin(samplePalette());
  bytes[7 + 4 * 13] = 0;
  std::vector<std::uint8_t> body(bytes.begin(), bytes.end() - 4);
  std::uint32_t hash = 2166136261u;
  for (auto b : body) hash = (hash ^ b) * 16777619u;
  for (int s = 0; s < 32; s += 8) body.push_back(std::uint8_t(hash >> s));
  EXPECT_FALSE(parseSkin(body));
}

TEST(SkinAdjust, ZeroLeavesThePaletteAndClampsHold) {
  const Palette p = samplePalette();
  EXPECT_EQ(adjustPalette(p, 0, 0), p);
  EXPECT_EQ(adjustPalette(p, 500, 0), adjustPalette(p, 180, 0));
  EXPECT_EQ(adjustPalette(p, -999, 0), adjustPalette(p, -180, 0));
  EXPECT_EQ(adjustPalette(p, 0, 250), adjustPalette(p, 0, 100));
  Palette grey = adjustPalette(p, 0, -100);
  for (const Rgb& c : grey.colours) EXPECT_TRUE(c.r == c.g && c.g == c.b);
}

TEST(SkinEngine, TwoNotificationWindowsSetUpOnceAndAttachThreeTimes) {
  RecordingPainter painter;
  SkinEngine engine(&painter);
  auto skin = encodeSkin(samplePalette());
  for (int window = 0; window < 3; ++window) engine.attach(skin);
  engine.detach();
  auto counts = engine.counts();
  EXPECT_EQ(counts.setUps, 1);
  EXPECT_EQ(counts.attaches, 3);
  EXPECT_EQ(counts.adjustments, 3);
  EXPECT_EQ(counts.lastHue, 0);
  EXPECT_EQ(counts.lastSecond, 0);
  EXPECT_EQ(counts.detaches, 1);
  EXPECT_EQ(painter.applied.size(), 3u);
  EXPECT_EQ(painter.removed, 1);
}

TEST(SkinEngine, DetachBeforeAnyAttachDoesNothing) {
  RecordingPainter painter;
  SkinEngine engine(&painter);
  engine.detach();
  EXPECT_EQ(engine.counts().detaches, 0);
  EXPECT_EQ(painter.removed, 0);
}

TEST(SkinEngine, AdjustmentIsClamped) {
  SkinEngine engine;
  engine.attach(encodeSkin(samplePalette()), 999, -999);
  EXPECT_EQ(engine.counts().lastHue, 180);
  EXPECT_EQ(engine.counts().lastSecond, -100);
}

TEST(SkinEngine, ADamagedBlockLeavesTheSystemLook) {
  RecordingPainter painter;
  SkinEngine engine(&painter);
  std::vector<std::uint8_t> junk = {'.', 'S', 'H', 'E', 0};
  engine.attach(junk);
  EXPECT_FALSE(engine.current());
  EXPECT_TRUE(painter.applied.empty());
  EXPECT_EQ(painter.removed, 1);
}

TEST(ShippedSkin, IsValidAndItsTextIsReadable) {
  auto palette = parseSkin(res::skinData());
  ASSERT_TRUE(palette);
  const Palette& p = *palette;
  struct Pair {
    SkinRole text, background;
  };
  const Pair pairs[] = {
      {SkinRole::LabelText, SkinRole::WindowBackground},
      {SkinRole::GroupCaption, SkinRole::WindowBackground},
      {SkinRole::EditText, SkinRole::EditBackground},
      {SkinRole::ButtonText, SkinRole::ButtonFace},
      {SkinRole::ListHeaderText, SkinRole::ListHeaderBackground},
      {SkinRole::StatusText, SkinRole::StatusBackground},
  };
  for (const auto& pair : pairs) {
    EXPECT_GE(contrastRatio(p[pair.text], p[pair.background]), 4.5) << int(pair.text);
  }
}

}  // namespace
}  // namespace zr::shell
