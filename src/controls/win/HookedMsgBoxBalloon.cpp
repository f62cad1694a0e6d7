// The refusal of a second message box on a thread. The balloon help window
// shows it; until that window is part of the build, the refusal is the
// system's exclamation sound.
#include "controls/win/HookedMsgBox.h"

void LaunchSecondBoxBalloon(POINT /*cursor*/)
{
    ::MessageBeep(MB_ICONEXCLAMATION);
}
