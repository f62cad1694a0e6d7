// Plain Win32 text readers shared by the window layer and the services that
// touch windows: a window's text and the clipboard's text.
#pragma once

#include "OrvApi.h"
#include "base/Types.h"
#include "framework/String.h"

// The text of any window: its caption, or a control's text. Empty when the
// window has none or cannot be read.
ORV_API CString ReadWindowText(HWND wnd);
// The clipboard's text, opened on behalf of `owner`. False, `text` empty,
// when the clipboard holds no text or cannot be opened.
ORV_API bool ReadClipboardText(HWND owner, CString& text);
