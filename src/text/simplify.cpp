#include "text/simplify.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

namespace zr::text {
namespace {

// Pairs of traditional and simplified characters: a small built-in table of
// the characters most common on results pages and in their navigation. It is
// not a full mapping; other characters are kept as they are.
constexpr std::u32string_view kPairs =
    U"開开獎奖號号碼码廣广網网頁页時时間间國国東东車车馬马門门見见長长們们說说會会來来為为這这"
    U"個个過过對对應应發发現现與与後后當当點点錢钱電电話话樣样還还進进實实體体關关學学從从經经"
    U"機机問问題题歷历結结區区請请選选擇择單单雙双數数計计劃划萬万億亿兩两無无動动務务業业書书"
    U"報报樂乐統统資资訊讯線线紅红藍蓝綠绿黃黄買买賣卖贏赢輸输種种類类預预測测聯联絡络傳传專专"
    U"圖图標标準准確确認认證证錄录註注冊册帳账戶户幫帮夠够讓让給给錯错誤误熱热慶庆週周內内頭头"
    U"條条級级將将處处總总辦办興兴氣气節节產产質质讀读寫写聽听覺觉親亲愛爱歡欢龍龙鳳凤雲云風风"
    U"雞鸡魚鱼鳥鸟麼么於于並并嗎吗聞闻際际極极驗验運运費费場场隨随組组舊旧詢询";

using Table = std::array<std::pair<char32_t, char32_t>, kPairs.size() / 2>;

constexpr Table sortedTable() {
  Table table{};
  for (std::size_t i = 0; i < table.size(); ++i) table[i] = {kPairs[2 * i], kPairs[2 * i + 1]};
  std::sort(table.begin(), table.end());
  return table;
}

constexpr Table kTable = sortedTable();

}  // namespace

char32_t simplifiedChinese(char32_t c) {
  const auto it = std::lower_bound(kTable.begin(), kTable.end(), std::pair<char32_t, char32_t>{c, 0});
  return it != kTable.end() && it->first == c ? it->second : c;
}

}  // namespace zr::text
