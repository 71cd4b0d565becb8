#pragma once
// Little-endian 32- and 64-bit values in byte buffers, independent of the host order.

#include <bit>
#include <cstdint>
#include <cstring>

inline uint32_t GetUInt32LE(const uint8_t* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

inline int32_t GetInt32LE(const uint8_t* p)
{
    return static_cast<int32_t>(GetUInt32LE(p));
}

inline float GetFloat32LE(const uint8_t* p)
{
    return std::bit_cast<float>(GetUInt32LE(p));
}

inline void PutUInt32LE(uint8_t* p, uint32_t v)
{
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
    p[3] = uint8_t(v >> 24);
}

inline void PutInt32LE(uint8_t* p, int32_t v)
{
    PutUInt32LE(p, static_cast<uint32_t>(v));
}

inline void PutFloat32LE(uint8_t* p, float v)
{
    PutUInt32LE(p, std::bit_cast<uint32_t>(v));
}

inline uint64_t GetUInt64LE(const uint8_t* p)
{
    return uint64_t(GetUInt32LE(p)) | (uint64_t(GetUInt32LE(p + 4)) << 32);
}

inline void PutUInt64LE(uint8_t* p, uint64_t v)
{
    PutUInt32LE(p, uint32_t(v));
    PutUInt32LE(p + 4, uint32_t(v >> 32));
}
