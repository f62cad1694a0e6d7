// CSortableStringArray: a string array that sorts itself.
#pragma once

#include "OrvApi.h"
#include "framework/Array.h"
#include "framework/String.h"

class ORV_API CSortableStringArray : public CStringArray {
public:
    using CompareFunction = int (*)(const CString& first, const CString& second);
    using CStringArray::CStringArray;

    // Sorts the elements in place; negative from `compare` puts the first
    // argument before the second. Without a comparison, Compare is used. The
    // sort is stable and stays within the array even when the comparison is
    // inconsistent.
    void Sort(CompareFunction compare = nullptr);

    // Byte-wise, case-sensitive comparison: negative, 0 or positive.
    static int Compare(const CString& first, const CString& second);
};
