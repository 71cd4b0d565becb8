#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <vector>

#include "errors.h"
#include "glow_record.h"
#include "model.h"

namespace {

TEST(GlowRecord, DecodeThenEncodeGivesTheSameSixtyEightBytes)
{
    // No two bytes alike, so a value read from or written to the wrong place
    // shows; none of the words is a NaN.
    std::vector<uint8_t> record(GlowRecordSize);
    std::iota(record.begin(), record.end(), uint8_t{1});
    TEngineGlow glow;
    glow.FilePos = 1234;
    DecodeGlowRecord(record, glow);
    EXPECT_EQ(glow.FilePos, 1234);
    const auto written = EncodeGlowWriteBack(glow);
    EXPECT_TRUE(std::equal(written.begin(), written.end(), record.begin() + GlowWriteBackOffset));
}

TEST(GlowRecord, EveryShortRecordRaisesAndSetsNothing)
{
    const std::vector<uint8_t> record(GlowRecordSize, 0xAB);
    for (size_t n = 0; n < record.size(); ++n) {
        TEngineGlow glow;
        EXPECT_THROW(DecodeGlowRecord({record.data(), n}, glow), EOptDamaged) << n;
        EXPECT_EQ(glow.CoreColor, 0u) << n;
        EXPECT_EQ(glow.Density2.Z, 0.0f) << n;
    }
}

}  // namespace
