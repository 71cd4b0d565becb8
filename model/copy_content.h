#pragma once
// What the editor knows of the working copy's bytes without keeping a copy of
// them: its size and a hash of every byte outside the glows' written-back
// bytes (the frame, which no write of the editor changes), while the glows'
// bytes are those the model holds. A working copy whose identity changed
// without a change of its bytes (a chmod to the same mode, a hard link,
// chattr +i and -i) is still the file the editor knows.

#include <cstddef>
#include <cstdint>
#include <span>

#include "file_util.h"

struct TModel;

struct TCopyFrame {
    int64_t Size = 0;
    size_t Hash = 0;
    bool operator==(const TCopyFrame&) const = default;
};

// The working copy as the editor last read or wrote it.
struct TKnownCopy {
    TFileIdentity Identity;
    TCopyFrame Frame;
};

// The frame of a file's bytes; model holds the glows read from them.
TCopyFrame FrameOf(std::span<const uint8_t> bytes, const TModel& model);

// Whether a file's bytes are frame with, at each glow, the bytes model holds.
bool HoldsModel(std::span<const uint8_t> bytes, const TCopyFrame& frame, const TModel& model);

// The same of the open file, read in parts (never whole into memory). Throws
// EInOutError "Cannot read file <path>".
bool HoldsModel(TOpenFile& file, const TCopyFrame& frame, const TModel& model);
