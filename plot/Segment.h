#pragma once
// One straight piece of tool path, and the plot's list of them.

#include "common/Color.h"
#include "common/Point.h"

#include <cstddef>
#include <initializer_list>
#include <iterator>
#include <vector>

struct TSegment
{
    TPoint3f from;
    TPoint3f to;
    TColor colour;  // red in the low byte; the top byte plays no part in drawing
};

// A tool path's segments in one contiguous block of 16 bytes each: a segment keeps its end and
// its colour, and starts where the one before it ended. The starts that are anywhere else (the
// first segment's, and those after a jump) are kept aside, in segment order. Reads give whole
// TSegment values, so the list reads like a vector of them.
class TSegmentList
{
public:
    TSegmentList() = default;
    TSegmentList(std::initializer_list<TSegment> segments);
    // The same segments (implicit, so that a vector of them can be read as a list).
    TSegmentList(const std::vector<TSegment>& segments);

    void Add(const TPoint3f& from, const TPoint3f& to, TColor colour);
    void Add(const TSegment& segment) { Add(segment.from, segment.to, segment.colour); }
    // Room for that many segments in all, so that a large path is appended without regrowing.
    void Reserve(std::size_t count);
    // Empties the list and gives its memory back.
    void Clear();

    std::size_t size() const { return FEnds.size(); }
    bool empty() const { return FEnds.empty(); }
    TSegment operator[](std::size_t index) const
    {
        return {From(index), FEnds[index].To, FEnds[index].Colour};
    }
    TSegment front() const { return (*this)[0]; }
    TSegment back() const { return (*this)[size() - 1]; }
    const TPoint3f& From(std::size_t index) const
    {
        // After the last jump every segment starts at the end of the one before.
        if (index > 0 && FStarts.back().Index < index)
            return FEnds[index - 1].To;
        return StartAt(index);
    }
    const TPoint3f& To(std::size_t index) const { return FEnds[index].To; }
    TColor Colour(std::size_t index) const { return FEnds[index].Colour; }
    void SetColour(std::size_t index, TColor colour) { FEnds[index].Colour = colour; }
    // Memory held for the segments, in bytes.
    std::size_t AllocatedBytes() const;

    class TIterator
    {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = TSegment;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = TSegment;

        TIterator() = default;
        TIterator(const TSegmentList* list, std::size_t index) : FList(list), FIndex(index) {}
        TSegment operator*() const { return (*FList)[FIndex]; }
        TIterator& operator++()
        {
            ++FIndex;
            return *this;
        }
        TIterator operator++(int)
        {
            TIterator before = *this;
            ++FIndex;
            return before;
        }
        bool operator==(const TIterator& other) const { return FIndex == other.FIndex; }

    private:
        const TSegmentList* FList = nullptr;
        std::size_t FIndex = 0;
    };
    TIterator begin() const { return {this, 0}; }
    TIterator end() const { return {this, size()}; }

private:
    struct TEnd
    {
        TPoint3f To;
        TColor Colour;
    };
    struct TStart
    {
        std::size_t Index;
        TPoint3f From;
    };

    static_assert(sizeof(TEnd) == 16);

    const TPoint3f& StartAt(std::size_t index) const;

    std::vector<TEnd> FEnds;
    std::vector<TStart> FStarts;
};
