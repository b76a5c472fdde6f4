#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/gamma.h"
#include "platform/xrandr_gamma.h"

namespace {

TEST(GammaRamp, BrightnessStepsGiveTheWorkedValues) {
  GammaRamp high = BuildGammaRamp(0);
  EXPECT_EQ(high.red[0], 256);  // nearly the identity, but not from 0
  EXPECT_EQ(high.red[1], 512);
  EXPECT_EQ(high.red[127], 32768);
  EXPECT_EQ(high.red[255], 65535);

  GammaRamp medium = BuildGammaRamp(1);
  EXPECT_EQ(medium.red[0], 41);
  EXPECT_EQ(medium.red[1], 103);
  EXPECT_EQ(medium.red[127], 26068);
  EXPECT_EQ(medium.red[255], 65535);

  GammaRamp low = BuildGammaRamp(2);
  EXPECT_EQ(low.red[0], 7);
  EXPECT_EQ(low.red[1], 21);
  EXPECT_EQ(low.red[127], 20738);
  EXPECT_EQ(low.red[255], 65535);
}

TEST(GammaRamp, ChannelsAgreeAndRiseAndStepsOutsideTheRangeAreLow) {
  for (int step : {0, 1, 2}) {
    GammaRamp ramp = BuildGammaRamp(step);
    for (int i = 0; i < kGammaRampSize; ++i) {
      EXPECT_EQ(ramp.green[i], ramp.red[i]);
      EXPECT_EQ(ramp.blue[i], ramp.red[i]);
      if (i > 0) {
        EXPECT_GT(ramp.red[i], ramp.red[i - 1]) << "step " << step << " entry " << i;
      }
    }
  }
  GammaRamp low = BuildGammaRamp(2);
  for (int step : {3, -1, 1000}) {
    GammaRamp other = BuildGammaRamp(step);
    EXPECT_TRUE(std::equal(other.red, other.red + kGammaRampSize, low.red)) << step;
  }
}

TEST(GammaRamp, ResamplingKeepsBothEndsAndTheOrder) {
  GammaRamp ramp = BuildGammaRamp(1);
  std::vector<uint16_t> same(256);
  ResampleGammaChannel(ramp.red, same.data(), 256);
  EXPECT_TRUE(std::equal(same.begin(), same.end(), ramp.red));

  for (int size : {2, 16, 1024, 4096}) {
    std::vector<uint16_t> out(size);
    ResampleGammaChannel(ramp.red, out.data(), size);
    EXPECT_EQ(out.front(), ramp.red[0]) << size;
    EXPECT_EQ(out.back(), 65535) << size;
    for (int j = 1; j < size; ++j) EXPECT_GE(out[j], out[j - 1]) << size << " entry " << j;
  }
  std::vector<uint16_t> four(1024);
  ResampleGammaChannel(ramp.red, four.data(), 1024);
  EXPECT_EQ(four[510], ramp.red[127]);  // 510 * 255 / 1023 rounds to 127
}

TEST(GammaRamp, AnAllBlackSavedRampIsNotWorthRestoring) {
  GammaRamp linear = LinearGammaRamp();
  EXPECT_EQ(linear.red[0], 0);
  EXPECT_EQ(linear.red[255], 65535);
  EXPECT_TRUE(GammaChannelUsable(linear.red, kGammaRampSize));
  std::vector<uint16_t> black(256, 0);
  EXPECT_FALSE(GammaChannelUsable(black.data(), 256));
  EXPECT_FALSE(GammaChannelUsable(black.data(), 0));
}

}  // namespace
