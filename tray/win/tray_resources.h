// Resource identifiers of TorvoQuillfernTray.exe. The DPI bitmaps 5001 to 5056 come from the
// generated bitmap fragment (tray/display_text.h: DpiBitmapId).
#pragma once

#define IDI_TRAY_ICON 103
#define IDR_TRAY_MENU 105
#define IDM_OPEN_CONFIGURATOR 40016
#define IDM_PROFILE_1 40008
#define IDM_PROFILE_2 40009
#define IDM_PROFILE_3 40010
#define IDM_PROFILE_4 40011
#define IDM_PROFILE_5 40012
#define IDM_CLOSE_TRAY 40014
