#pragma once
// The settings file's layout: the keys of the sections "数据" (the last-three
// limits and the plan settings; 广告 last, saved but never loaded) and "数据1"
// (the last-two limits), in file order, with their boxes. Written out here,
// apart from the program's own table, so that a wrong key, box or order in
// the program shows.
#include <vector>

#include "ui/forms.h"

namespace zr::testing {

struct SettingsKey {
  const char* name;  // UTF-8
  int box;
};

inline const std::vector<SettingsKey> kSettingsData = {
    {"取开奖期", mf::编辑框_取开奖期},
    {"取中奖期左", mf::编辑框_取中奖期_左},
    {"取中奖期右", mf::编辑框_取中奖期_右},
    {"取不中期左", mf::编辑框_取不中期_左},
    {"取不中期右", mf::编辑框_取不中期_右},
    {"当前连挂左", mf::编辑框_当前连挂_左},
    {"当前连挂右", mf::编辑框_当前连挂_右},
    {"当前连中左", mf::编辑框_当前连中_左},
    {"当前连中右", mf::编辑框_当前连中_右},
    {"范围最大连中左", mf::编辑框_范围最大连中_左},
    {"范围最大连中右", mf::编辑框_范围最大连中_右},
    {"范围最大连挂左", mf::编辑框_范围最大连挂_左},
    {"范围最大连挂右", mf::编辑框_范围最大连挂_右},
    {"注数左", mf::编辑框_注数_左},
    {"注数右", mf::编辑框_注数_右},
    {"大底个数", mf::编辑框_大底个数},
    {"容错左", mf::编辑框_容错_左},
    {"容错右", mf::编辑框_容错_右},
    {"容对左", mf::编辑框_容对_左},
    {"容对右", mf::编辑框_容对_右},
    {"外号", mf::编辑框_外号},
    {"分隔符", mf::编辑框_分隔符},
    {"中奖符号", mf::编辑框_中奖符号},
    {"挂奖符号", mf::编辑框_挂奖符号},
    {"广告", mf::编辑框_广告},
};
inline const std::vector<SettingsKey> kSettingsData1 = {
    {"取开奖期", mf::编辑框_取开奖期1},
    {"取中奖期左", mf::编辑框_取中奖期_左1},
    {"取中奖期右", mf::编辑框_取中奖期_右1},
    {"取不中期左", mf::编辑框_取不中期_左1},
    {"取不中期右", mf::编辑框_取不中期_右1},
    {"当前连挂左", mf::编辑框_当前连挂_左1},
    {"当前连挂右", mf::编辑框_当前连挂_右1},
    {"当前连中左", mf::编辑框_当前连中_左1},
    {"当前连中右", mf::编辑框_当前连中_右1},
    {"范围最大连中左", mf::编辑框_范围最大连中_左1},
    {"范围最大连中右", mf::编辑框_范围最大连中_右1},
    {"范围最大连挂左", mf::编辑框_范围最大连挂_左1},
    {"范围最大连挂右", mf::编辑框_范围最大连挂_右1},
    {"注数左", mf::编辑框_注数_左1},
    {"注数右", mf::编辑框_注数_右1},
    {"大底个数", mf::编辑框_大底个数1},
    {"容错左", mf::编辑框_容错_左1},
    {"容错右", mf::编辑框_容错_右1},
    {"容对左", mf::编辑框_容对_左1},
    {"容对右", mf::编辑框_容对_右1},
};

}  // namespace zr::testing
