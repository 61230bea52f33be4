#include "resources/resources.h"

#include <cstddef>

#if ZR_HAVE_CHIME
extern const unsigned char zr_chime_wav[];
extern const std::size_t zr_chime_wav_size;
#endif
#if ZR_HAVE_SKIN
extern const unsigned char zr_skin_data[];
extern const std::size_t zr_skin_data_size;
#endif

namespace zr::res {

std::span<const std::uint8_t> chimeWav() {
#if ZR_HAVE_CHIME
  return {zr_chime_wav, zr_chime_wav_size};
#else
  return {};
#endif
}

std::span<const std::uint8_t> skinData() {
#if ZR_HAVE_SKIN
  return {zr_skin_data, zr_skin_data_size};
#else
  return {};
#endif
}

}  // namespace zr::res
