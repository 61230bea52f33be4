#pragma once
// Code-page conversion. Text inside the program is GBK bytes (code page 936);
// these are the only places that convert it. The conversion never depends on
// the machine's ANSI code page.
#include <string>
#include <string_view>

namespace zr::text {

// Conversions between GBK, UTF-8 and the platform's wide text (UTF-16 on
// Windows, UTF-32 elsewhere). Bytes that cannot be converted become '?'
// (wide: U+FFFD) rather than ending the text, except where noted.
std::string utf8ToGbk(std::string_view utf8);
std::string gbkToUtf8(std::string_view gbk);
std::wstring gbkToWide(std::string_view gbk);
std::string wideToGbk(std::wstring_view wide);
std::u16string gbkToUtf16(std::string_view gbk);
std::string utf16ToGbk(std::u16string_view utf16);
// Big5 (code page 950) to GBK, with traditional characters mapped to
// simplified ones; a character without a GBK form ends the result.
std::string big5ToGbkSimplified(std::string_view big5);

// Converts a UTF-8 literal of the source to GBK once and keeps it.
#define GBK(utf8_literal)                                                     \
  ([]() -> const std::string& {                                               \
    static const std::string converted = ::zr::text::utf8ToGbk(utf8_literal); \
    return converted;                                                         \
  }())

}  // namespace zr::text
