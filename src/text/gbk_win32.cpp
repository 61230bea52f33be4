#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include "text/gbk.h"
#include "text/simplify.h"

namespace zr::text {
namespace {

// Explicit code pages only: the machine's ANSI code page is never used.
constexpr UINT kGbk = 936;
constexpr UINT kBig5 = 950;
constexpr wchar_t kReplacement = 0xFFFD;

enum class OnBad { Replace, Stop };

bool isTrailByte(unsigned char b) { return b >= 0x40 && b <= 0xFE && b != 0x7F; }

// Decodes a double-byte code page. When the whole text does not convert
// cleanly, it goes character by character so that only the bad characters
// are replaced (or the result ends at the first of them).
std::wstring decodeDbcs(UINT cp, std::string_view in, OnBad onBad, wchar_t replacement) {
  std::wstring out;
  if (in.empty()) return out;
  const int n = static_cast<int>(in.size());
  int len = MultiByteToWideChar(cp, MB_ERR_INVALID_CHARS, in.data(), n, nullptr, 0);
  if (len > 0) {
    out.resize(static_cast<std::size_t>(len));
    MultiByteToWideChar(cp, MB_ERR_INVALID_CHARS, in.data(), n, out.data(), len);
    return out;
  }
  std::size_t pos = 0;
  while (pos < in.size()) {
    const auto lead = static_cast<unsigned char>(in[pos]);
    const bool twoBytes = IsDBCSLeadByteEx(cp, lead) && pos + 1 < in.size();
    const int charLen = twoBytes ? 2 : 1;
    wchar_t buf[2];
    const int got = MultiByteToWideChar(cp, MB_ERR_INVALID_CHARS, in.data() + pos, charLen, buf, 2);
    if (got > 0) {
      out.append(buf, static_cast<std::size_t>(got));
      pos += static_cast<std::size_t>(charLen);
      continue;
    }
    if (onBad == OnBad::Stop) break;
    out.push_back(replacement);
    pos += (twoBytes && isTrailByte(static_cast<unsigned char>(in[pos + 1]))) ? 2 : 1;
  }
  return out;
}

std::wstring decodeUtf8(std::string_view in) {
  std::wstring out;
  if (in.empty()) return out;
  // Without MB_ERR_INVALID_CHARS bad UTF-8 becomes U+FFFD.
  const int n = static_cast<int>(in.size());
  const int len = MultiByteToWideChar(CP_UTF8, 0, in.data(), n, nullptr, 0);
  if (len <= 0) return out;
  out.resize(static_cast<std::size_t>(len));
  MultiByteToWideChar(CP_UTF8, 0, in.data(), n, out.data(), len);
  return out;
}

std::string encode(UINT cp, const wchar_t* in, int n, BOOL* usedDefault) {
  std::string out;
  if (n <= 0) return out;
  const bool utf8 = cp == CP_UTF8;
  const char* defaultChar = utf8 ? nullptr : "?";
  BOOL* used = utf8 ? nullptr : usedDefault;
  const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
  const int len = WideCharToMultiByte(cp, flags, in, n, nullptr, 0, defaultChar, used);
  if (len <= 0) return out;
  out.resize(static_cast<std::size_t>(len));
  WideCharToMultiByte(cp, flags, in, n, out.data(), len, defaultChar, used);
  return out;
}

bool isSurrogate(wchar_t c) { return c >= 0xD800 && c < 0xE000; }

// GBK has no character beyond the Basic Multilingual Plane: a surrogate pair
// becomes one '?', as does a lone surrogate.
std::string encodeGbk(std::wstring_view in) {
  std::wstring bmp;
  bmp.reserve(in.size());
  for (std::size_t i = 0; i < in.size(); ++i) {
    if (!isSurrogate(in[i])) {
      bmp.push_back(in[i]);
      continue;
    }
    bmp.push_back(L'?');
    if (in[i] < 0xDC00 && i + 1 < in.size() && in[i + 1] >= 0xDC00 && in[i + 1] < 0xE000) ++i;
  }
  return encode(kGbk, bmp.data(), static_cast<int>(bmp.size()), nullptr);
}

// Encodes to GBK up to the first character that has no GBK form.
std::string encodeGbkUntilUnmappable(std::wstring_view in) {
  std::string out;
  std::size_t pos = 0;
  while (pos < in.size()) {
    const bool pair = in[pos] >= 0xD800 && in[pos] < 0xDC00 && pos + 1 < in.size();
    const int units = pair ? 2 : 1;
    BOOL usedDefault = FALSE;
    const std::string one = encode(kGbk, in.data() + pos, units, &usedDefault);
    if (usedDefault || one.empty()) break;
    out += one;
    pos += static_cast<std::size_t>(units);
  }
  return out;
}

}  // namespace

std::string utf8ToGbk(std::string_view utf8) { return encodeGbk(decodeUtf8(utf8)); }

std::string gbkToUtf8(std::string_view gbk) {
  const std::wstring wide = decodeDbcs(kGbk, gbk, OnBad::Replace, L'?');
  return encode(CP_UTF8, wide.data(), static_cast<int>(wide.size()), nullptr);
}

std::wstring gbkToWide(std::string_view gbk) { return decodeDbcs(kGbk, gbk, OnBad::Replace, kReplacement); }

std::string wideToGbk(std::wstring_view wide) { return encodeGbk(wide); }

std::u16string gbkToUtf16(std::string_view gbk) {
  const std::wstring wide = gbkToWide(gbk);
  return std::u16string(wide.begin(), wide.end());
}

std::string utf16ToGbk(std::u16string_view utf16) {
  const std::wstring wide(utf16.begin(), utf16.end());
  return encodeGbk(wide);
}

std::string big5ToGbkSimplified(std::string_view big5) {
  std::wstring wide = decodeDbcs(kBig5, big5, OnBad::Stop, kReplacement);
  if (!wide.empty()) {
    // The mapping works on wide text so that no ANSI code page is involved.
    const LCID chineseLocale = MAKELCID(2052, SORT_DEFAULT);
    const int n = static_cast<int>(wide.size());
    std::wstring mapped(wide.size(), L'\0');
    if (LCMapStringW(chineseLocale, LCMAP_SIMPLIFIED_CHINESE, wide.data(), n, mapped.data(), n) == n) {
      wide = std::move(mapped);
    }
    // Some systems (Wine among them) leave the text unmapped; the built-in
    // table covers the commonest characters there and changes nothing that
    // is already simplified.
    for (wchar_t& c : wide) c = static_cast<wchar_t>(simplifiedChinese(static_cast<char32_t>(c)));
  }
  return encodeGbkUntilUnmappable(wide);
}

}  // namespace zr::text
