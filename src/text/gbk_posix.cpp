#include <iconv.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <cstring>

#include "text/gbk.h"
#include "text/simplify.h"

namespace zr::text {
namespace {

enum class Charset { Gbk, Big5, Utf8, Utf16, Utf32, Count };

constexpr bool kLittle = std::endian::native == std::endian::little;

// iconv names to try for each charset, best first.
std::array<const char*, 2> namesOf(Charset c) {
  switch (c) {
    case Charset::Gbk:
      return {"CP936", "GBK"};
    case Charset::Big5:
      return {"CP950", "BIG5"};
    case Charset::Utf8:
      return {"UTF-8", "UTF8"};
    case Charset::Utf16:
      return {kLittle ? "UTF-16LE" : "UTF-16BE", nullptr};
    case Charset::Utf32:
      return {kLittle ? "UTF-32LE" : "UTF-32BE", "WCHAR_T"};
    case Charset::Count:
      break;
  }
  return {nullptr, nullptr};
}

constexpr auto kCount = static_cast<std::size_t>(Charset::Count);

// One descriptor per direction and thread: a descriptor may not be shared
// between threads, and opening one for every call is slow.
struct Descriptors {
  std::array<std::array<iconv_t, kCount>, kCount> cd;
  Descriptors() {
    for (auto& row : cd) row.fill(reinterpret_cast<iconv_t>(-1));
  }
  ~Descriptors() {
    for (auto& row : cd)
      for (iconv_t d : row)
        if (d != reinterpret_cast<iconv_t>(-1)) iconv_close(d);
  }
  iconv_t get(Charset from, Charset to) {
    iconv_t& d = cd[static_cast<std::size_t>(from)][static_cast<std::size_t>(to)];
    if (d == reinterpret_cast<iconv_t>(-1)) {
      for (const char* toName : namesOf(to)) {
        for (const char* fromName : namesOf(from)) {
          if (toName && fromName && d == reinterpret_cast<iconv_t>(-1)) d = iconv_open(toName, fromName);
        }
      }
    }
    return d;
  }
};

std::string replacementFor(Charset c) {
  if (c == Charset::Utf16) {
    const char16_t r = 0xFFFD;
    return std::string(reinterpret_cast<const char*>(&r), 2);
  }
  if (c == Charset::Utf32) {
    const char32_t r = 0xFFFD;
    return std::string(reinterpret_cast<const char*>(&r), 4);
  }
  return "?";
}

// How many input bytes make up the character iconv refused at p.
std::size_t badCharLength(Charset c, const unsigned char* p, std::size_t left) {
  switch (c) {
    case Charset::Gbk:
    case Charset::Big5:
      if (p[0] >= 0x81 && p[0] <= 0xFE && left >= 2 && p[1] >= 0x40 && p[1] <= 0xFE && p[1] != 0x7F) return 2;
      return 1;
    case Charset::Utf8: {
      std::size_t n = 1;
      while (n < left && n < 4 && (p[n] & 0xC0) == 0x80) ++n;
      return n;
    }
    case Charset::Utf16: {
      if (left < 4) return std::min<std::size_t>(left, 2);
      char16_t hi, lo;
      std::memcpy(&hi, p, 2);
      std::memcpy(&lo, p + 2, 2);
      return (hi >= 0xD800 && hi < 0xDC00 && lo >= 0xDC00 && lo < 0xE000) ? 4 : 2;
    }
    case Charset::Utf32:
    case Charset::Count:
      break;
  }
  return std::min<std::size_t>(left, 4);
}

enum class OnBad { Replace, Stop };

// Converts bytes between two charsets. A character that cannot be read or
// written is replaced (or ends the result) and the conversion goes on after
// it, so bad input never makes it fail or loop.
std::string convert(std::string_view in, Charset from, Charset to, OnBad onBad) {
  if (in.empty()) return {};
  thread_local Descriptors descriptors;
  iconv_t cd = descriptors.get(from, to);
  if (cd == reinterpret_cast<iconv_t>(-1)) return {};
  iconv(cd, nullptr, nullptr, nullptr, nullptr);

  std::string out(in.size() * 4 + 16, '\0');
  std::size_t used = 0;
  char* src = const_cast<char*>(in.data());
  std::size_t srcLeft = in.size();
  const std::string replacement = replacementFor(to);
  while (true) {
    char* dst = out.data() + used;
    std::size_t dstLeft = out.size() - used;
    const std::size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    const int err = errno;
    used = out.size() - dstLeft;
    if (rc != static_cast<std::size_t>(-1)) break;
    if (err == E2BIG) {
      out.resize(out.size() * 2);
      continue;
    }
    if (onBad == OnBad::Stop) break;
    // EILSEQ: an invalid or unconvertible character; EINVAL: a character cut
    // off at the end of the input.
    const std::size_t skip =
        err == EINVAL ? srcLeft : badCharLength(from, reinterpret_cast<const unsigned char*>(src), srcLeft);
    src += skip;
    srcLeft -= skip;
    out.resize(used);
    out += replacement;
    used = out.size();
    out.resize(used + srcLeft * 4 + 16);
    if (srcLeft == 0) break;
  }
  out.resize(used);
  return out;
}

std::string bytesOf(std::wstring_view w) {
  return std::string(reinterpret_cast<const char*>(w.data()), w.size() * sizeof(wchar_t));
}
std::string bytesOf(std::u16string_view w) {
  return std::string(reinterpret_cast<const char*>(w.data()), w.size() * 2);
}

template <typename Str>
Str unitsOf(const std::string& bytes) {
  Str s(bytes.size() / sizeof(typename Str::value_type), typename Str::value_type{});
  std::memcpy(s.data(), bytes.data(), s.size() * sizeof(typename Str::value_type));
  return s;
}

}  // namespace

std::string utf8ToGbk(std::string_view utf8) { return convert(utf8, Charset::Utf8, Charset::Gbk, OnBad::Replace); }

std::string gbkToUtf8(std::string_view gbk) { return convert(gbk, Charset::Gbk, Charset::Utf8, OnBad::Replace); }

std::wstring gbkToWide(std::string_view gbk) {
  static_assert(sizeof(wchar_t) == 4, "wide text is UTF-32 here");
  return unitsOf<std::wstring>(convert(gbk, Charset::Gbk, Charset::Utf32, OnBad::Replace));
}

std::string wideToGbk(std::wstring_view wide) {
  return convert(bytesOf(wide), Charset::Utf32, Charset::Gbk, OnBad::Replace);
}

std::u16string gbkToUtf16(std::string_view gbk) {
  return unitsOf<std::u16string>(convert(gbk, Charset::Gbk, Charset::Utf16, OnBad::Replace));
}

std::string utf16ToGbk(std::u16string_view utf16) {
  return convert(bytesOf(utf16), Charset::Utf16, Charset::Gbk, OnBad::Replace);
}

std::string big5ToGbkSimplified(std::string_view big5) {
  // The system offers no traditional-to-simplified mapping here, so the
  // program's own table of common characters is used.
  std::u32string chars = unitsOf<std::u32string>(convert(big5, Charset::Big5, Charset::Utf32, OnBad::Stop));
  for (char32_t& c : chars) c = simplifiedChinese(c);
  return convert(std::string_view(reinterpret_cast<const char*>(chars.data()), chars.size() * 4), Charset::Utf32,
                 Charset::Gbk, OnBad::Stop);
}

}  // namespace zr::text
