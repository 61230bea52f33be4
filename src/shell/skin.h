#pragma once
// The program's own window skin: a palette held as a small block of bytes in
// the program ("ZSKN" format below), attached when a window is created and
// detached at shut-down. The portable part here reads the block, adjusts the
// palette and keeps the engine's state; a SkinPainter of the platform applies
// the palette to the windows (on Windows through WM_CTLCOLOR* and custom draw).
//
// Format, version 1: "ZSKN" 0x1A, version byte, entry count byte, then per
// entry a role byte and red, green, blue bytes, then the FNV-1a 32-bit hash
// of all preceding bytes, little-endian.
#include <array>
#include <cstdint>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

namespace zr::shell {

enum class SkinRole : std::uint8_t {
  WindowBackground,
  GroupFrame,
  GroupCaption,
  LabelText,
  EditBackground,
  EditText,
  ButtonFace,
  ButtonText,
  ButtonBorder,
  Accent,
  ListHeaderBackground,
  ListHeaderText,
  StatusBackground,
  StatusText,
  kCount
};

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

struct Palette {
  std::array<Rgb, static_cast<std::size_t>(SkinRole::kCount)> colours{};
  Rgb& operator[](SkinRole role) { return colours[static_cast<std::size_t>(role)]; }
  const Rgb& operator[](SkinRole role) const { return colours[static_cast<std::size_t>(role)]; }
  friend bool operator==(const Palette&, const Palette&) = default;
};

inline constexpr std::uint8_t kSkinVersion = 1;

// Reads a skin block; nullopt for a damaged block, another version or a block
// that does not give every role.
std::optional<Palette> parseSkin(std::span<const std::uint8_t> bytes);
std::vector<std::uint8_t> encodeSkin(const Palette& palette);

// Turns every colour's hue by hue degrees (-180..180) and scales its
// saturation by second percent (-100..100); 0 and 0 give the palette unchanged.
Palette adjustPalette(const Palette& palette, int hue, int second);

// WCAG contrast ratio of two colours (1..21).
double contrastRatio(Rgb a, Rgb b);

class SkinPainter {
 public:
  virtual ~SkinPainter() = default;
  virtual void apply(const Palette& palette) = 0;  // paint every window with the palette
  virtual void remove() = 0;                       // back to the system's look
};

// The skin engine: set up once by the first attach, kept until the process ends.
class SkinEngine {
 public:
  explicit SkinEngine(SkinPainter* painter = nullptr) : painter_(painter) {}
  void setPainter(SkinPainter* painter);

  // Attaches the skin block and applies the adjustment (clamped); a refused
  // block leaves the windows in the system's look.
  void attach(std::span<const std::uint8_t> skin, int hue = 0, int second = 0);
  // Back to the system's look; does nothing before the first attach.
  void detach();

  struct Counts {
    int setUps = 0, attaches = 0, adjustments = 0, detaches = 0;
    int lastHue = 0, lastSecond = 0;
  };
  Counts counts() const;
  std::optional<Palette> current() const;

 private:
  mutable std::mutex mutex_;
  SkinPainter* painter_;
  bool setUp_ = false;
  std::optional<Palette> base_, current_;
  Counts counts_;
};

// The engine of this process.
SkinEngine& processSkinEngine();

}  // namespace zr::shell
