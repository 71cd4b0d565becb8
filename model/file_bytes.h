#pragma once
// A file's bytes in memory, read whole with ordinary reads (never mapped:
// another program cutting a mapped file short would end this one).

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "file_util.h"

// The bytes of a regular file, read whole by one loop of reads into one
// buffer, and the file's identity as read. The file must be the same before
// and after the read, and the read must end exactly at its size: a file that
// another program writes meanwhile is refused rather than read half old,
// half new. Throws EFOpenError (cannot open), ENotAFile (not a regular file,
// or a link with TLinks::Refuse), EInOutError (read failed), EFileChanged
// (changed while it was read).
//
// Streamed, a large file is read by a second thread while the caller works on
// the bytes already there: WaitFor(end) before touching bytes below end, and
// Finish() before taking what was made of them. The errors of the read come
// from WaitFor or Finish instead of the constructor (the open's still come
// from the constructor).
class TFileBytes {
public:
    enum TReadMode { Whole, Streamed };
    explicit TFileBytes(const std::string& path, TLinks links = TLinks::Follow, TReadMode mode = Whole);
    ~TFileBytes();
    TFileBytes(const TFileBytes&) = delete;
    TFileBytes& operator=(const TFileBytes&) = delete;

    std::span<const uint8_t> Bytes() const { return {Data.get(), Size}; }
    const TFileIdentity& Identity() const { return Id; }
    // Waits until the bytes below end (at most the size) are read; returns
    // how many are. Throws what the read threw.
    int64_t WaitFor(int64_t end) const;
    // Waits until the read is over. Throws what the read threw.
    void Finish() const;

private:
    struct TFree {
        size_t Size;  // of the block
        void operator()(uint8_t* p) const;
    };
    struct TStream;
    void ReadAll(TOpenFile& file, TStream* stream) const;

    std::string Path;
    std::unique_ptr<uint8_t, TFree> Data;
    size_t Size = 0;
    TFileIdentity Id;
    std::unique_ptr<TStream> Stream;
};

// TFileBytes of a small file, as a vector. Throws as TFileBytes.
std::vector<uint8_t> ReadWholeFile(const std::string& path);
