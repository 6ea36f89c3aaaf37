// Resource and command identifiers of Tellbud: dialog templates, menus, icons, strings,
// controls and menu commands.
#pragma once

// Dialog templates.
#define IDD_ABOUTBOX 100
#define IDD_TELLBUD_DIALOG 102
#define IDD_RENAME 135
#define IDD_OPTION 141
#define IDD_SPEEDDIAL 142
#define IDD_LANGUAGE 143

// Icons.
#define IDR_MAINFRAME 128
#define IDI_OFFLINE 140
#define IDI_ONLINE 142

// Menus.
#define IDR_TRAYMENU 134
#define IDR_CONTACTMENU 135

// Strings.
#define IDS_ABOUTBOX 101

// System menu entry of the main window.
#define IDM_ABOUTBOX 0x0010

// Controls.
#define IDC_STATIC_TEXT 0xFFFF
#define IDC_STATIC_ICON 0xFFFF
#define IDC_RING_COMBO 1000
#define IDC_USBPHONE 1001
#define IDC_CHANNEL_COMBO 1001
#define IDC_SPEAKER_SLIDER 1002
#define IDC_CONTACT_LIST 1003
#define IDC_MIC_SLIDER 1003
#define IDC_NAME_EDIT 1004
#define IDC_LANGUAGE_COMBO 1005

// Menu commands.
#define ID_TRAY_EXIT 32771
#define ID_CONTACT_RENAME 32772
#define ID_CONTACT_STARTCHAT 32773
#define ID_CONTACT_STARTVOICE 32774
#define ID_TRAY_AUTORUN 32776
#define ID_TRAY_ABOUT 32777
#define ID_TRAY_OPTION 32778
#define ID_TRAY_SETAUDIO 32779
#define ID_CONTACT_SPEEDDIAL 32780
#define ID_TRAY_SELECTLANGUAGE 32782
