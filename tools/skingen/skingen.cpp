// Writes the program's skin block (resources/skin.zsk): a calm light palette
// with one accent colour.
//   zr_skingen resources/skin.zsk
#include <cstdio>
#include <fstream>

#include "shell/skin.h"

using zr::shell::Palette;
using zr::shell::Rgb;
using zr::shell::SkinRole;

static Rgb hex(unsigned v) {
  return {static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)};
}

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: zr_skingen <output file>\n");
    return 2;
  }
  Palette p;
  p[SkinRole::WindowBackground] = hex(0xF4F6F8);
  p[SkinRole::GroupFrame] = hex(0xC3CDD8);
  p[SkinRole::GroupCaption] = hex(0x17507F);
  p[SkinRole::LabelText] = hex(0x1F2933);
  p[SkinRole::EditBackground] = hex(0xFFFFFF);
  p[SkinRole::EditText] = hex(0x111827);
  p[SkinRole::ButtonFace] = hex(0xE6EDF5);
  p[SkinRole::ButtonText] = hex(0x15324D);
  p[SkinRole::ButtonBorder] = hex(0x8FA3B8);
  p[SkinRole::Accent] = hex(0x1E6BB8);
  p[SkinRole::ListHeaderBackground] = hex(0xDFE7F0);
  p[SkinRole::ListHeaderText] = hex(0x1F2933);
  p[SkinRole::StatusBackground] = hex(0xE8EDF2);
  p[SkinRole::StatusText] = hex(0x2E3D4B);
  auto bytes = zr::shell::encodeSkin(p);
  std::ofstream out(argv[1], std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return out ? 0 : 1;
}
