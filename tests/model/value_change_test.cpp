// The edit dialog's change as data: numbers typed relative to each glow's own
// value ("+=2"), beside plain numbers to set.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "conversions.h"
#include "error_text.h"
#include "errors.h"
#include "value_change.h"

namespace {

using TOp = TNumberChange::TOp;

// One mesh whose glows have the given centres and densities 0 (X, Y, Z alike).
TModel ModelOf(const std::vector<TFloat3>& centres, const std::vector<float>& densities)
{
    TModel model;
    model.Meshes.Add(TModel::NewMesh());
    for (size_t i = 0; i < centres.size(); ++i) {
        TEngineGlow glow = TOMesh::NewGlow();
        glow.Center = centres[i];
        glow.MainVec = {1, 2, 3};
        const float d = densities[i];
        glow.Density0 = {d, d, d};
        model.Meshes.Get(0).Glows.Add(glow);
    }
    return model;
}

class RelativeValues : public ::testing::Test {
protected:
    void TearDown() override { DecimalSeparator = '.'; }
};

TEST_F(RelativeValues, TypedTextGivesTheOpAndANumberAsThePlainNumberDoes)
{
    const auto typed = [](const char* text) { return TypedNumber(std::string(text)); };
    const auto expect = [&](const char* text, TOp op, float operand) {
        const TNumberChange change = typed(text);
        EXPECT_EQ(change.Op, op) << text;
        EXPECT_EQ(change.Operand, operand) << text;
    };
    expect("+=2", TOp::Add, 2);
    expect("  -= 0.5 ", TOp::Subtract, 0.5f);
    expect("*=1.1", TOp::Multiply, 1.1f);
    expect("/=-2", TOp::Divide, -2);
    // A sign alone is the number's own: it sets.
    expect("+2", TOp::Set, 2);
    expect("-2", TOp::Set, -2);
    EXPECT_EQ(TypedNumber(std::nullopt).Op, TOp::Keep);

    DecimalSeparator = ',';
    expect("*=1,5", TOp::Multiply, 1.5f);
    EXPECT_EQ(MessageOf<EConvertError>([&] { typed("*=1.5"); }), "'1.5' is not a valid floating point value");
    EXPECT_EQ(MessageOf<EConvertError>([&] { typed("+ =2"); }), "'+ =2' is not a valid floating point value");
}

TEST_F(RelativeValues, EachGlowChangesItsOwnAndAResultNotFiniteWritesNothing)
{
    const TModel model = ModelOf({{1, 10, 5}, {2, -3.5f, 6}, {3, 100, 7}}, {0.25f, 0.75f, 0});
    // The edited glow, 2, comes first, as the dialog passes it.
    const std::vector<TGlowIndex> glows = {{0, 2}, {0, 0}, {0, 1}};
    TValueChange change{TGlowValue::Center};
    change.Numbers[1] = TypedNumber(std::string("+=2"));
    const TGlowWrite write = AppliedTo(change, model, glows);
    ASSERT_EQ(write.Glows.size(), 3u);
    const float ownY[] = {100, 10, -3.5f};
    for (size_t i = 0; i < 3; ++i) {
        const TEngineGlow& stored = model.Meshes.Get(0).Glows.Get(glows[i].Glow);
        const TEngineGlow& written = write.Glows[i].Values;
        EXPECT_EQ(write.Glows[i].At, glows[i]);
        EXPECT_EQ(written.Center.Y, ownY[i] + 2.0f) << i;
        EXPECT_EQ(written.Center.X, stored.Center.X) << i;
        EXPECT_EQ(written.Center.Z, stored.Center.Z) << i;
        EXPECT_EQ(written.MainVec.Y, stored.MainVec.Y) << i;
    }

    // "/=0", or an overflow in one glow of three: the whole write is refused.
    change.Numbers[1] = TypedNumber(std::string("/=0"));
    EXPECT_EQ(MessageOf<ENotFinite>([&] { AppliedTo(change, model, glows); }),
              "Nothing was written: Y of glow 2 of mesh 0 would not be a finite number");
    change.Numbers[1] = TypedNumber(std::string("*=1e37"));
    EXPECT_EQ(MessageOf<ENotFinite>([&] { AppliedTo(change, model, {{0, 0}, {0, 1}, {0, 2}}); }),
              "Nothing was written: Y of glow 2 of mesh 0 would not be a finite number");
    change.Numbers[1] = TypedNumber(std::string("*=1e36"));
    EXPECT_EQ(AppliedTo(change, model, glows).Glows[0].Values.Center.Y, 100 * 1e36f);

    // The density range holds for each glow's own result: 0.25 + 0.5 is in
    // range, 0.75 + 0.5 is not.
    TValueChange density{TGlowValue::Density0};
    density.Numbers[2] = TypedNumber(std::string("+=0.5"));
    EXPECT_TRUE(InDensityRange(density, AppliedTo(density, model, {{0, 0}})));
    EXPECT_FALSE(InDensityRange(density, AppliedTo(density, model, {{0, 0}, {0, 1}})));
    density.Numbers[2] = TypedNumber(std::string("-=0.5"));
    EXPECT_FALSE(InDensityRange(density, AppliedTo(density, model, {{0, 0}})));
}

}  // namespace
