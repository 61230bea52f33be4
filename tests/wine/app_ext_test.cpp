// The App's per-subsystem state under the Windows toolchain: one state per
// type for the App's life, whether the type is named or in an unnamed
// namespace (the two kinds order inconsistently by type_info::before()).
#include <gtest/gtest.h>

#include "support/headless.h"

namespace zr::shell {

struct NamedState {
  int value = 0;
};

namespace {

struct UnnamedState {
  int value = 0;
};
struct OtherUnnamedState {
  int value = 0;
};

TEST(AppExtTest, EachTypeKeepsOneStateForTheAppsLife) {
  testing::Headless h;
  App& app = h.app;
  for (int round = 1; round <= 20; ++round) {
    ++app.ext<UnnamedState>().value;
    ++app.ext<NamedState>().value;
    ++app.ext<OtherUnnamedState>().value;
    EXPECT_EQ(app.ext<UnnamedState>().value, round);
    EXPECT_EQ(app.ext<NamedState>().value, round);
    EXPECT_EQ(app.ext<OtherUnnamedState>().value, round);
  }
}

}  // namespace
}  // namespace zr::shell
