// CTokenEx: splits, joins and pops delimited tokens, and splits file paths.
// It has no state; an empty delimiter always stands for ",".
#pragma once

#include "OrvApi.h"
#include "framework/Array.h"
#include "framework/String.h"

class ORV_API CTokenEx {
public:
    // Removes the first token and its delimiter from `source` and returns the
    // token. Without keepEmpty, delimiters at the front are dropped first.
    CString GetString(CString& source, const CString& delimiter, bool keepEmpty = false) const;

    // Appends the tokens of `source` to `tokens` (which is not emptied).
    // Empty tokens are appended only with keepEmpty; an empty last token
    // (a source that ends with the delimiter) never is.
    void Split(const CString& source, const CString& delimiter, CStringArray& tokens, bool keepEmpty = false) const;

    // The elements in order with the delimiter between each two.
    CString Join(const CString& delimiter, const CStringArray& tokens) const;

    // Splits a Windows path into drive ("C:" or "\\server\share"), directory
    // (without the leading and trailing backslash), name and extension
    // (without the point). With directoryOnly the whole rest of the path is
    // taken as the directory.
    void SplitPath(bool directoryOnly, const CString& path, CString& drive, CString& directory,
                   CString& name, CString& extension) const;
};
