#pragma once
// Transparent huge pages for large buffers about to be filled: faulting in hundreds of megabytes
// 4 KiB at a time costs more than filling them. Only a hint: systems without huge pages, or
// with them switched off, ignore it, and nothing else about the memory changes.

#include <cstddef>
#include <vector>

// Asks for huge pages over the whole 2 MiB pages inside [data, data + size), which should not
// have been touched yet.
void AdviseHugePages(const void* data, std::size_t size);

// The same for the room a vector has reserved beyond its elements.
template <class T>
void AdviseHugePagesForSpare(const std::vector<T>& items)
{
    AdviseHugePages(items.data() + items.size(), (items.capacity() - items.size()) * sizeof(T));
}
