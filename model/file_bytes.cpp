#include "file_bytes.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <system_error>
#include <thread>
#include <utility>

#include "bulk_memory.h"
#include "errors.h"

namespace {

// Files from this size on are read streamed when the caller asks, in parts of
// this size.
constexpr size_t StreamedSize = size_t{4} << 20;
constexpr size_t StreamedPart = size_t{1} << 20;

}  // namespace

void TFileBytes::TFree::operator()(uint8_t* p) const
{
    FreeLarge(p, Size);
}

// The read of a streamed file on its own thread.
struct TFileBytes::TStream {
    std::unique_ptr<TOpenFile> File;
    // Bytes read so far; -1 once the read failed (Error says why).
    std::atomic<int64_t> Ready{0};
    std::atomic<bool> Stop{false};
    std::exception_ptr Error;
    std::thread Worker;
};

TFileBytes::TFileBytes(const std::string& path, TLinks links, TReadMode mode) : Path(path)
{
    auto file = std::make_unique<TOpenFile>(path, TOpenFile::Reading, links);
    Id = file->Identity();
    Size = static_cast<size_t>(Id.Size);
    if (Size > 0)
        Data = decltype(Data)(static_cast<uint8_t*>(AllocateLarge(Size)), TFree{Size});  // left uninitialised: the read fills it
    // A thread pays off only where the read takes a while.
    if (mode == Whole || Size < StreamedSize) {
        ReadAll(*file, nullptr);
        return;
    }
    Stream = std::make_unique<TStream>();
    Stream->File = std::move(file);
    try {
        Stream->Worker = std::thread([this] {
            try {
                ReadAll(*Stream->File, Stream.get());
            } catch (...) {
                Stream->Error = std::current_exception();
                Stream->Ready.store(-1, std::memory_order_release);
                Stream->Ready.notify_all();
            }
            Stream->File.reset();
        });
    } catch (const std::system_error&) {
        // No thread to be had: read it whole here.
        const std::unique_ptr<TStream> stream = std::move(Stream);
        ReadAll(*stream->File, nullptr);
    }
}

TFileBytes::~TFileBytes()
{
    if (Stream && Stream->Worker.joinable()) {
        Stream->Stop = true;
        Stream->Worker.join();
    }
}

void TFileBytes::ReadAll(TOpenFile& file, TStream* stream) const
{
    // Streamed, the bytes go out in parts, each published once it is read.
    const size_t part = stream ? StreamedPart : Size;
    size_t got = 0;
    while (got < Size && !(stream && stream->Stop)) {
        const size_t n = file.Read(Data.get() + got, std::min(Size - got, part));
        if (n == 0)
            break;
        got += n;
        if (stream) {
            stream->Ready.store(static_cast<int64_t>(got), std::memory_order_release);
            stream->Ready.notify_all();
        }
    }
    if (stream && stream->Stop)
        return;
    // The read must end at the size the file had when it was opened, and the
    // file must still be that file: otherwise another program wrote it
    // meanwhile and the bytes may be half old, half new.
    uint8_t beyond = 0;
    if (got != Size || file.Read(&beyond, 1) != 0 || !(file.Identity() == Id))
        throw EFileChanged::WhileRead(Path);
}

int64_t TFileBytes::WaitFor(int64_t end) const
{
    if (!Stream)
        return static_cast<int64_t>(Size);
    int64_t ready = Stream->Ready.load(std::memory_order_acquire);
    while (ready < end) {
        if (ready < 0)
            Finish();
        Stream->Ready.wait(ready, std::memory_order_acquire);
        ready = Stream->Ready.load(std::memory_order_acquire);
    }
    return ready;
}

void TFileBytes::Finish() const
{
    if (!Stream)
        return;
    if (Stream->Worker.joinable())
        Stream->Worker.join();
    if (Stream->Error)
        std::rethrow_exception(Stream->Error);
}

std::vector<uint8_t> ReadWholeFile(const std::string& path)
{
    const TFileBytes file(path);
    return {file.Bytes().begin(), file.Bytes().end()};
}
