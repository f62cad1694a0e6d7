// The About box: a message box with a link to the controls' guide embedded
// under its text.
#pragma once

class CWnd;

void ShowAboutBox();
