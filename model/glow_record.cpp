#include "glow_record.h"

#include <string>

#include "byte_order.h"
#include "errors.h"
#include "model.h"

namespace {

// Where each value of a glow lies in its 68 bytes.
template <typename T>
struct TValueAt {
    T TEngineGlow::*Member;
    size_t At;
};

constexpr TValueAt<uint32_t> Colors[] = {{&TEngineGlow::CoreColor, glow_layout::CoreColor},
                                         {&TEngineGlow::OuterColor, glow_layout::OuterColor}};

constexpr TValueAt<TFloat3> Vectors[] = {
    {&TEngineGlow::MainVec, glow_layout::MainVec},   {&TEngineGlow::Center, glow_layout::Center},
    {&TEngineGlow::Density0, glow_layout::Density0}, {&TEngineGlow::Density1, glow_layout::Density1},
    {&TEngineGlow::Density2, glow_layout::Density2},
};

// Every value from the 68 bytes at values.
void DecodeValues(const uint8_t* values, TEngineGlow& glow)
{
    for (const auto& c : Colors)
        glow.*c.Member = GetUInt32LE(values + c.At);
    for (const auto& v : Vectors) {
        const uint8_t* p = values + v.At;
        glow.*v.Member = {GetFloat32LE(p), GetFloat32LE(p + 4), GetFloat32LE(p + 8)};
    }
}

}  // namespace

void DecodeGlowRecord(std::span<const uint8_t> record, TEngineGlow& glow)
{
    if (record.size() < size_t(GlowRecordSize))
        throw EOptDamaged("A glow record of " + std::to_string(record.size()) + " bytes is cut short");
    DecodeValues(record.data() + GlowWriteBackOffset, glow);
}

void DecodeGlowWriteBack(const TGlowBytes& bytes, TEngineGlow& glow)
{
    DecodeValues(bytes.data(), glow);
}

TGlowBytes EncodeGlowWriteBack(const TEngineGlow& glow)
{
    TGlowBytes bytes{};
    for (const auto& c : Colors)
        PutUInt32LE(bytes.data() + c.At, glow.*c.Member);
    for (const auto& v : Vectors) {
        uint8_t* p = bytes.data() + v.At;
        const TFloat3& value = glow.*v.Member;
        PutFloat32LE(p, value.X);
        PutFloat32LE(p + 4, value.Y);
        PutFloat32LE(p + 8, value.Z);
    }
    return bytes;
}
