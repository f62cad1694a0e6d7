// Reading a window's text and the clipboard's text.
#include "platform/win32/WindowText.h"

CString ReadWindowText(HWND wnd)
{
    const int length = wnd != nullptr ? ::GetWindowTextLengthA(wnd) : 0;
    CString text;
    if (length <= 0)
        return text;
    char* buffer = text.GetBuffer(length + 1);
    const int copied = ::GetWindowTextA(wnd, buffer, length + 1);
    text.ReleaseBuffer(copied > 0 ? copied : 0);
    return text;
}

bool ReadClipboardText(HWND owner, CString& text)
{
    text.Empty();
    if (!::IsClipboardFormatAvailable(CF_TEXT) || !::OpenClipboard(owner))
        return false;
    bool read = false;
    if (HANDLE data = ::GetClipboardData(CF_TEXT)) {
        if (const char* bytes = static_cast<const char*>(::GlobalLock(data))) {
            // Text from another program need not end in a zero byte: read
            // no further than the block.
            const SIZE_T size = ::GlobalSize(data);
            SIZE_T length = 0;
            while (length < size && bytes[length] != '\0')
                ++length;
            text = CString(bytes, int(length));
            ::GlobalUnlock(data);
            read = true;
        }
    }
    ::CloseClipboard();
    return read;
}
