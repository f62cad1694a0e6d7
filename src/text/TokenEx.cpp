#include "text/TokenEx.h"

namespace {

// The delimiter keeps its full length, embedded NULs included, so that it can
// never shrink to nothing and stall a search.
CString EffectiveDelimiter(const CString& delimiter)
{
    return delimiter.IsEmpty() ? CString(",") : delimiter;
}

// Length of the drive part: "\\server\share" for a UNC path (the whole path
// when the share is not followed by a backslash), "X:" when the path starts
// with a drive letter, and nothing for a relative path.
int DriveLength(const CString& path)
{
    if (path.GetLength() >= 2 && path[0] == '\\' && path[1] == '\\') {
        const int afterServer = path.Find('\\', 3);
        const int afterShare = afterServer < 0 ? -1 : path.Find('\\', afterServer + 1);
        return afterShare < 0 ? path.GetLength() : afterShare;
    }
    return path.GetLength() >= 2 && path[1] == ':' ? 2 : 0;
}

} // namespace

CString CTokenEx::GetString(CString& source, const CString& delimiter, bool keepEmpty) const
{
    const CString separator = EffectiveDelimiter(delimiter);
    const int width = separator.GetLength();
    if (!keepEmpty) {
        int front = 0;
        while (source.GetLength() - front >= width && source.Mid(front, width) == separator)
            front += width;
        source.Delete(0, front);
    }
    const int at = source.Find(separator);
    if (at < 0) {
        CString token = source;
        source.Empty();
        return token;
    }
    CString token = source.Left(at);
    source.Delete(0, at + width);
    return token;
}

void CTokenEx::Split(const CString& source, const CString& delimiter, CStringArray& tokens, bool keepEmpty) const
{
    const CString separator = EffectiveDelimiter(delimiter);
    const int width = separator.GetLength();
    int start = 0;
    for (int at = source.Find(separator); at >= 0; at = source.Find(separator, start)) {
        if (at > start || keepEmpty)
            tokens.Add(source.Mid(start, at - start));
        start = at + width;
    }
    if (start < source.GetLength())
        tokens.Add(source.Mid(start));
}

CString CTokenEx::Join(const CString& delimiter, const CStringArray& tokens) const
{
    const CString separator = EffectiveDelimiter(delimiter);
    CString joined;
    for (int i = 0; i < tokens.GetSize(); ++i) {
        if (i > 0)
            joined += separator;
        joined += tokens[i];
    }
    return joined;
}

void CTokenEx::SplitPath(bool directoryOnly, const CString& path, CString& drive, CString& directory,
                         CString& name, CString& extension) const
{
    const int driveLength = DriveLength(path);
    drive = path.Left(driveLength);
    // The backslash after the drive belongs to neither part.
    const int rest = driveLength < path.GetLength() && path[driveLength] == '\\' ? driveLength + 1 : driveLength;
    name.Empty();
    extension.Empty();
    if (directoryOnly) {
        directory = path.Mid(rest);
        return;
    }

    const int lastSlash = path.ReverseFind('\\');
    const int nameStart = lastSlash >= rest ? lastSlash + 1 : rest;
    directory = lastSlash > rest ? path.Mid(rest, lastSlash - rest) : CString();

    const CString leaf = path.Mid(nameStart);
    const int point = leaf.ReverseFind('.');
    if (point < 0) {
        name = leaf;
    } else {
        name = leaf.Left(point);
        extension = leaf.Mid(point + 1);
    }
}
