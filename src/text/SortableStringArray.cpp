#include "text/SortableStringArray.h"

#include <utility>
#include <vector>

namespace {

// Top-down merge sort of items[first, last) using `scratch` as room. Every
// index is bounded by the ranges themselves, so a comparison that contradicts
// itself can misorder the result but never step outside the array.
void MergeSort(CString* items, std::vector<CString>& scratch, int first, int last,
               CSortableStringArray::CompareFunction compare)
{
    if (last - first < 2)
        return;
    const int middle = first + (last - first) / 2;
    MergeSort(items, scratch, first, middle, compare);
    MergeSort(items, scratch, middle, last, compare);
    if (compare(items[middle - 1], items[middle]) <= 0)
        return;

    int left = first, right = middle, out = 0;
    while (left < middle && right < last)
        scratch[out++] = std::move(compare(items[right], items[left]) < 0 ? items[right++] : items[left++]);
    while (left < middle)
        scratch[out++] = std::move(items[left++]);
    while (right < last)
        scratch[out++] = std::move(items[right++]);
    for (int i = 0; i < out; ++i)
        items[first + i] = std::move(scratch[i]);
}

} // namespace

void CSortableStringArray::Sort(CompareFunction compare)
{
    const int count = int(GetSize());
    if (count < 2)
        return;
    std::vector<CString> scratch(count);
    MergeSort(GetData(), scratch, 0, count, compare ? compare : &Compare);
}

int CSortableStringArray::Compare(const CString& first, const CString& second)
{
    return first.Compare(second);
}
