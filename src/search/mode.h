#pragma once
// The two search modes and the controls each one reads and writes. The
// last-two mode works like the last-three mode with two-digit numbers and the
// boxes of the group "后二：" (the same names with "1" appended).
#include <array>

#include "ui/forms.h"

namespace zr::search {

enum class Mode { LastThree, LastTwo };

// A range typed into a left (lower bound) and a right (upper bound) box.
struct BoxPair {
  int left, right;
};

// One "二选一：" group: pair A bounds the hits side, pair B the misses side.
struct CheckGroupBoxes {
  BoxPair hits, misses;
};

struct ModeSettings {
  Mode mode;
  int width;     // digits of a number
  int universe;  // numbers in the universe (10^width)
  int windowBox;
  // The count, current-run and longest-run groups, in that order.
  std::array<CheckGroupBoxes, 3> groups;
  int setCountBox;
  BoxPair sizeBoxes;
  BoxPair missTolerance;  // 容错
  BoxPair hitTolerance;   // 容对
  int resultBox;          // the mode's own result box
  int radio;
};

inline const ModeSettings& settingsOf(Mode mode) {
  static const ModeSettings lastThree{
      Mode::LastThree,
      3,
      1000,
      mf::编辑框_取开奖期,
      {{{{mf::编辑框_取中奖期_左, mf::编辑框_取中奖期_右}, {mf::编辑框_取不中期_左, mf::编辑框_取不中期_右}},
        {{mf::编辑框_当前连中_左, mf::编辑框_当前连中_右}, {mf::编辑框_当前连挂_左, mf::编辑框_当前连挂_右}},
        {{mf::编辑框_范围最大连中_左, mf::编辑框_范围最大连中_右},
         {mf::编辑框_范围最大连挂_左, mf::编辑框_范围最大连挂_右}}}},
      mf::编辑框_大底个数,
      {mf::编辑框_注数_左, mf::编辑框_注数_右},
      {mf::编辑框_容错_左, mf::编辑框_容错_右},
      {mf::编辑框_容对_左, mf::编辑框_容对_右},
      mf::编辑框2,
      mf::单选框_后三};
  static const ModeSettings lastTwo{
      Mode::LastTwo,
      2,
      100,
      mf::编辑框_取开奖期1,
      {{{{mf::编辑框_取中奖期_左1, mf::编辑框_取中奖期_右1}, {mf::编辑框_取不中期_左1, mf::编辑框_取不中期_右1}},
        {{mf::编辑框_当前连中_左1, mf::编辑框_当前连中_右1}, {mf::编辑框_当前连挂_左1, mf::编辑框_当前连挂_右1}},
        {{mf::编辑框_范围最大连中_左1, mf::编辑框_范围最大连中_右1},
         {mf::编辑框_范围最大连挂_左1, mf::编辑框_范围最大连挂_右1}}}},
      mf::编辑框_大底个数1,
      {mf::编辑框_注数_左1, mf::编辑框_注数_右1},
      {mf::编辑框_容错_左1, mf::编辑框_容错_右1},
      {mf::编辑框_容对_左1, mf::编辑框_容对_右1},
      mf::编辑框3,
      mf::单选框_后二};
  return mode == Mode::LastThree ? lastThree : lastTwo;
}

}  // namespace zr::search
