#pragma once
// Checked little-endian reads from a file held in memory. Every value the OPT
// reader takes from a file goes through a checked read, or through a run of
// records checked as a whole (Run), so no read can leave the buffer; a read
// that would raises EOptDamaged naming the file.

#include <cstdint>
#include <span>
#include <string>

#include "byte_order.h"
#include "errors.h"
#include "file_bytes.h"

class TByteReader {
public:
    TByteReader(std::span<const uint8_t> bytes, const std::string& path)
        : Bytes(bytes.data()), PathName(path), Size(static_cast<int64_t>(bytes.size())), Ready(Size)
    {
    }
    // The bytes of a file that is still being read (streamed): each read
    // waits until its bytes are there.
    TByteReader(const TFileBytes& file, const std::string& path) : TByteReader(file.Bytes(), path)
    {
        Source = &file;
        Ready = 0;
    }

    // Raises unless the n bytes at pos lie wholly inside the file, and waits
    // until they are read. Written so that it cannot overflow for any pos
    // and any n >= 0.
    void Require(int64_t pos, int64_t n) const
    {
        if (pos < 0 || pos > Size || n < 0 || n > Size - pos)
            Damaged(pos);
        if (pos + n > Ready)
            Ready = Source->WaitFor(pos + n);
    }

    // Whether the n bytes at pos lie wholly inside the file, for a look that
    // may find nothing there; waits as Require.
    bool Holds(int64_t pos, int64_t n) const
    {
        if (pos < 0 || pos > Size || n < 0 || n > Size - pos)
            return false;
        Require(pos, n);
        return true;
    }

    // Raises unless count records of size bytes each, from pos on, lie wholly
    // inside the file. count comes from the file: it is checked before anyone
    // loops on it or allocates for it. A count <= 0 needs nothing.
    void RequireRun(int64_t pos, int64_t count, int64_t size) const
    {
        if (count <= 0)
            return;
        // count <= INT32_MAX and size is small, so the product fits in 64 bits.
        Require(pos, count * size);
    }

    // The count records of size bytes at pos, checked as a whole, for reads
    // that stay inside them; nullptr for a count <= 0.
    const uint8_t* Run(int64_t pos, int64_t count, int64_t size) const
    {
        RequireRun(pos, count, size);
        return count > 0 ? Bytes + pos : nullptr;
    }

    int32_t Int32(int64_t pos) const { return GetInt32LE(At(pos)); }
    float Float32(int64_t pos) const { return GetFloat32LE(At(pos)); }

    int64_t FileSize() const { return Size; }
    const std::string& Path() const { return PathName; }

    [[noreturn]] void Damaged(int64_t pos) const
    {
        throw EOptDamaged("File " + PathName + " is damaged or truncated (offset " + std::to_string(pos) + ")");
    }

private:
    // The one place that touches the buffer: 4 bytes at pos, checked.
    const uint8_t* At(int64_t pos) const
    {
        Require(pos, 4);
        return Bytes + pos;
    }

    const uint8_t* const Bytes;
    const std::string& PathName;
    const int64_t Size;
    const TFileBytes* Source = nullptr;
    mutable int64_t Ready;  // bytes known to be read
};
