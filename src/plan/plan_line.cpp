#include <cstddef>
#include <mutex>
#include <string>
#include <vector>

#include "plan/plan.h"
#include "text/bytes.h"
#include "text/gbk.h"

namespace zr::plan {
namespace {

// The boxes one limit group lends to its plan line.
struct ModeBoxes {
  int setCount;  // 编辑框_大底个数
  int missLeft, missRight, hitLeft, hitRight;
};

constexpr ModeBoxes kLastThree{mf::编辑框_大底个数, mf::编辑框_容错_左, mf::编辑框_容错_右, mf::编辑框_容对_左,
                               mf::编辑框_容对_右};
constexpr ModeBoxes kLastTwo{mf::编辑框_大底个数1, mf::编辑框_容错_左1, mf::编辑框_容错_右1, mf::编辑框_容对_左1,
                             mf::编辑框_容对_右1};

// The tolerance part of a line: the hit-tolerance pair, when filled, wins
// over the miss-tolerance pair.
std::string toleranceSuffix(ui::FormModel& form, const ModeBoxes& boxes, const std::string& drawn,
                            const std::string& joined) {
  const std::string setCount = form.text(boxes.setCount);
  const long long asked = text::readNumber(setCount);
  const long long containing = drawn.empty() ? 0 : text::countOccurrences(joined, drawn);
  std::string suffix;
  const std::string missLeft = form.text(boxes.missLeft), missRight = form.text(boxes.missRight);
  if (!missLeft.empty() && !missRight.empty()) {
    suffix = GBK("错/容 ") + setCount + "/" + text::formatInt(asked - containing) + "/" + missLeft + "-" + missRight;
  }
  const std::string hitLeft = form.text(boxes.hitLeft), hitRight = form.text(boxes.hitRight);
  if (!hitLeft.empty() && !hitRight.empty()) {
    suffix = GBK("对/容 ") + setCount + "/" + text::formatInt(containing) + "/" + hitLeft + "-" + hitRight;
  }
  return suffix;
}

}  // namespace

void composePlanLine(shell::App& app) {
  ui::FormModel& form = app.main();
  const std::vector<std::string> countPieces = text::split(form.text(mf::标签_注数), GBK("："));
  if (countPieces.size() < 2) return;  // no search has shown a count yet

  enum class Mode { LastThree, Joint, LastTwo };
  Mode mode;
  if (form.checked(mf::单选框_后三)) {
    mode = Mode::LastThree;
  } else if (form.checked(mf::单选框_拼接)) {
    mode = Mode::Joint;
  } else if (form.checked(mf::单选框_后二)) {
    mode = Mode::LastTwo;
  } else {
    return;
  }

  const std::string separator = form.text(mf::编辑框_分隔符);
  const std::string drawn = text::lastBytes(form.text(mf::标签_最新一期号码), mode == Mode::LastTwo ? 2 : 3);
  const bool hit = text::findText(form.text(mf::编辑框_结果), drawn) != -1;

  std::string line = form.text(mf::标签_最新一期期号) + GBK("期:") + form.text(mf::编辑框_外号) + separator +
                     countPieces[1] + separator + GBK("开") + drawn;
  if (mode == Mode::Joint) {
    line += hit ? GBK(" 中 ") : GBK(" 挂 ");
    line += GBK("后二,后三拼接版");
  } else {
    std::string joined;
    {
      std::lock_guard lock(app.state.mutex);
      joined = mode == Mode::LastThree ? app.state.lastThreeResultText : app.state.lastTwoResultText;
    }
    line += hit ? GBK(" 中 底/") : GBK(" 挂 底/");
    line += toleranceSuffix(form, mode == Mode::LastThree ? kLastThree : kLastTwo, drawn, joined);
  }
  line += "\r\n";

  form.setText(mf::编辑框_计划区, form.text(mf::编辑框_计划区) + line);
}

}  // namespace zr::plan
