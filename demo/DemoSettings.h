// Where the demo keeps its settings: the recent symbols and the send hot key.
#pragma once

// Under HKEY_CURRENT_USER.
inline constexpr const char* kDemoSettingsKey = "Software\\Velkor\\OrvDemo";
