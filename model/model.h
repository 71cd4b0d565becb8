#pragma once
// The in-memory model of one OPT file: meshes with their vertices, faces per
// level of detail and engine glows.
//
// Lists own their items and keep each item at a fixed address while it sits in
// the list.

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <memory_resource>
#include <utility>
#include <vector>

#include "errors.h"

// An ordered list that owns its items. Add appends and returns the new index.
// Items live in blocks of 16, 32, 64, ... items; a block is allocated once at
// its full capacity and never grows, so appending never moves an item and
// costs one allocation per doubling, not one per few items. A list started
// with many items at once (AppendMany) holds them in a first block of just
// their number, the doubling blocks after it: a model read (one run a list)
// or copied then holds no room that is never used.
// An empty list allocates nothing. Blocks come from the ordinary heap, or from
// a memory the list is given (UseMemory); a copy of a list holds its items in
// the heap.
template <typename T>
class TOwnList {
public:
    TOwnList() = default;
    TOwnList(const TOwnList& other) { AppendCopies(other); }
    TOwnList(TOwnList&& other) noexcept
        : Memory(std::move(other.Memory)), Blocks(std::move(other.Blocks)), ItemCount(std::exchange(other.ItemCount, 0)),
          Sized(std::exchange(other.Sized, 0))
    {
    }
    TOwnList& operator=(const TOwnList& other)
    {
        if (this != &other) {
            Clear();
            AppendCopies(other);
        }
        return *this;
    }
    TOwnList& operator=(TOwnList&& other) noexcept
    {
        if (this != &other) {
            Clear();  // the blocks go before the memory they came from
            Memory = std::move(other.Memory);
            Blocks = std::move(other.Blocks);
            ItemCount = std::exchange(other.ItemCount, 0);
            Sized = std::exchange(other.Sized, 0);
        }
        return *this;
    }

    // The blocks of the items appended from now on come from memory, which
    // the list keeps as long as it holds them: a reader puts a whole model's
    // bulk in one memory of its own (bulk_memory.h).
    void UseMemory(std::shared_ptr<std::pmr::memory_resource> memory) { Memory = std::move(memory); }

    int Count() const { return ItemCount; }
    int Add(T item)
    {
        AddNew() = std::move(item);
        return ItemCount - 1;
    }
    // Appends a default item and returns it, to be filled in place.
    T& AddNew()
    {
        T& item = Tail().emplace_back();
        ++ItemCount;
        return item;
    }
    // Appends count items, item i made by make(i): a whole block's run at a
    // time, for a reader that appends thousands of items at once.
    template <typename Make>
    void AppendMany(int count, Make make)
    {
        if (Blocks.empty() && count > static_cast<int>(FirstBlock))
            Sized = size_t(count);
        for (int i = 0; i < count;) {
            TBlock& items = Tail();
            const int run = static_cast<int>(std::min<size_t>(size_t(count - i), items.capacity() - items.size()));
            for (const int end = i + run; i < end; ++i)
                items.push_back(make(i));
            ItemCount += run;
        }
    }
    // Empties the list; the items appended next come from the heap.
    void Clear()
    {
        Blocks.clear();
        Memory.reset();
        ItemCount = 0;
        Sized = 0;
    }

    template <typename List, typename Item>
    class Iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = T;
        using difference_type = std::ptrdiff_t;
        using pointer = Item*;
        using reference = Item&;
        Iterator() = default;
        Iterator(List* list, int index) : Of(list), Index(index) {}
        reference operator*() const { return Of->At(Index); }
        pointer operator->() const { return &Of->At(Index); }
        Iterator& operator++()
        {
            ++Index;
            return *this;
        }
        Iterator operator++(int)
        {
            Iterator before = *this;
            ++Index;
            return before;
        }
        bool operator==(const Iterator& other) const { return Index == other.Index; }

    private:
        List* Of = nullptr;
        int Index = 0;
    };

    auto begin() { return Iterator<TOwnList, T>(this, 0); }
    auto end() { return Iterator<TOwnList, T>(this, ItemCount); }
    auto begin() const { return Iterator<const TOwnList, const T>(this, 0); }
    auto end() const { return Iterator<const TOwnList, const T>(this, ItemCount); }

protected:
    // Unchecked access to item index, 0 <= index < Count().
    T& At(int index)
    {
        const auto [block, offset] = Locate(index);
        return Blocks[block][offset];
    }
    const T& At(int index) const
    {
        const auto [block, offset] = Locate(index);
        return Blocks[block][offset];
    }

private:
    static constexpr size_t FirstBlock = 16;
    using TBlock = std::pmr::vector<T>;

    // The block the next item goes into, allocated at its full size when it
    // is first needed.
    TBlock& Tail()
    {
        const size_t block = Locate(ItemCount).first;
        if (block == Blocks.size()) {
            // Reserved before it joins the list: a block that failed to get
            // its room would be taken for a full one.
            TBlock items(Memory ? Memory.get() : std::pmr::get_default_resource());
            items.reserve(Capacity(block));
            Blocks.push_back(std::move(items));
        }
        return Blocks[block];
    }

    void AppendCopies(const TOwnList& other)
    {
        AppendMany(other.Count(), [&other](int i) { return other.At(i); });
    }

    // The block and the place in it of item index. Past a first block of
    // Sized items, doubling block b holds the items from FirstBlock * (2^b - 1)
    // on.
    std::pair<size_t, size_t> Locate(int index) const
    {
        size_t i = static_cast<size_t>(index);
        size_t first = 0;
        if (Sized > 0) {
            if (i < Sized)
                return {0, i};
            i -= Sized;
            first = 1;
        }
        const size_t q = i / FirstBlock + 1;
        const size_t block = static_cast<size_t>(std::bit_width(q)) - 1;
        return {first + block, i - FirstBlock * ((size_t(1) << block) - 1)};
    }
    size_t Capacity(size_t block) const
    {
        if (Sized > 0) {
            if (block == 0)
                return Sized;
            --block;
        }
        return FirstBlock << block;
    }

    std::shared_ptr<std::pmr::memory_resource> Memory;  // none: the heap
    std::vector<TBlock> Blocks;
    int ItemCount = 0;
    size_t Sized = 0;  // the first block's items when it was sized, else 0
};

// A list with a checked 0-based Get. Message is the list's own error text,
// with "%d" standing for the bad index.
template <typename T, const char* Message>
class TTypedList : public TOwnList<T> {
public:
    T& Get(int index)
    {
        Check(index);
        return this->At(index);
    }
    const T& Get(int index) const
    {
        Check(index);
        return this->At(index);
    }

private:
    void Check(int index) const;  // throws EListError
};

// Raises the EListError of a list: Message with "%d" replaced by index.
[[noreturn]] void ListIndexError(const char* message, int index);

template <typename T, const char* Message>
void TTypedList<T, Message>::Check(int index) const
{
    if (index < 0 || index >= this->Count())
        ListIndexError(Message, index);
}

struct TVertex {
    float X = 0, Y = 0, Z = 0;
};

struct TVertexN {
    float X = 0, Y = 0, Z = 0;
};

// One quadruple of vertex indices, in file order.
struct TFace {
    int32_t Index[4] = {0, 0, 0, 0};
};

struct TFloat3 {
    float X = 0, Y = 0, Z = 0;
};

// One face. VertIdx.Index[3] == -1 marks a triangle (corners 0..2).
struct TOFace {
    int32_t ExtraValue = 0;
    TFace VertIdx;
    TFace Quad2, Quad3, Quad4;
    TVertexN Normal;
    uint32_t TexVec[6] = {0, 0, 0, 0, 0, 0};

    bool IsTriangle() const { return VertIdx.Index[3] == -1; }
    int CornerCount() const { return IsTriangle() ? 3 : 4; }
};

// One engine glow. Colours are 0xAARRGGBB. FilePos is the file position of the
// glow's 72-byte data block in the file it was read from.
struct TEngineGlow {
    int32_t FilePos = 0;
    uint32_t OuterColor = 0;
    uint32_t CoreColor = 0;
    TFloat3 Center;
    TFloat3 MainVec;
    TFloat3 Density0, Density1, Density2;
};

// Members for OPT node kinds this program never reads; kept empty.
struct TTexture {};
struct TPalette {};

namespace list_messages {
inline constexpr char Mesh[] = "^TMeshL Index not valid: %d";
inline constexpr char Face[] = "^TFaceL Index not valid: %d";
inline constexpr char Vertex[] = "^TVertexL Index not valid: %d";
inline constexpr char Glow[] = "^TEngineGlow Index not valid: %d";
inline constexpr char Texture[] = "^TTex20 Index not valid: %d";
inline constexpr char Palette[] = "^TOPTPal Index not valid: %d";
}  // namespace list_messages

using TFaceL = TTypedList<TOFace, list_messages::Face>;
using TVertexL = TTypedList<TVertex, list_messages::Vertex>;
using TEngineGlowL = TTypedList<TEngineGlow, list_messages::Glow>;
using TTextureL = TTypedList<TTexture, list_messages::Texture>;
using TPalL = TTypedList<TPalette, list_messages::Palette>;

struct TOMesh {
    TEngineGlowL Glows;
    TVertexL Vertices;
    TFaceL Faces[3];  // per level of detail; only Faces[0] is drawn and picked
    int32_t LodCount = 0;
    TFloat3 LodDist;

    // New empty items; the caller appends them to the right list.
    static TOFace NewFace() { return {}; }
    static TEngineGlow NewGlow() { return {}; }
};

using TMeshL = TTypedList<TOMesh, list_messages::Mesh>;

struct TModel {
    TMeshL Meshes;
    TTextureL Textures;
    TPalL Palettes;

    // Destroys every item of Meshes, Textures and Palettes, in that order.
    void Clear();
    static TOMesh NewMesh() { return {}; }
};

