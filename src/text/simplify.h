#pragma once
// Traditional to simplified Chinese for one character, where the host has no
// mapping of its own.

namespace zr::text {

// The simplified form of c when it is one of the common traditional
// characters the program knows, else c itself.
char32_t simplifiedChinese(char32_t c);

}  // namespace zr::text
