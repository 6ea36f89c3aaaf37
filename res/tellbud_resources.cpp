#include "res/tellbud_resources.h"

#include <windows.h>
#include <commctrl.h>

#include <utility>
#include <vector>

#include "res/resource.h"

namespace {

const DWORD kPushButton = WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
const DWORD kDefaultButton = WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON;
const DWORD kModalFrame = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;

CDialogResource AboutDialog() {
  CDialogResource d;
  d.id = IDD_ABOUTBOX;
  d.caption = TEXT("About Tellbud");
  d.cx = 235;
  d.cy = 55;
  d.style = kModalFrame;
  d.fontFace = TEXT("MS Sans Serif");
  d.items = {
      // Icon, text and button centred on one line across the dialog's height.
      {TEXT("Static"), nullptr, IDC_STATIC_ICON, 11, 17, 20, 20, WS_VISIBLE | SS_ICON, 0, IDR_MAINFRAME},
      {TEXT("Static"), TEXT("Tellbud Version 1.0.0.2 beta"), IDC_STATIC_TEXT, 40, 23, 119, 8,
       WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0},
      {TEXT("Button"), TEXT("OK"), IDOK, 178, 20, 50, 14, kDefaultButton | WS_GROUP, 0, 0},
  };
  return d;
}

// The main window: a plain contact list; the handset control has no visible role and ends up
// under the list; OK and Cancel exist only as the Enter and Escape keys.
CDialogResource MainDialog() {
  CDialogResource d;
  d.id = IDD_TELLBUD_DIALOG;
  d.caption = TEXT("Tellbud<1.0>");
  d.cx = 218;
  d.cy = 301;
  d.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX | WS_VISIBLE;
  d.exStyle = WS_EX_APPWINDOW;
  d.fontFace = TEXT("MS Sans Serif");
  d.items = {
      {TEXT("SysListView32"), TEXT("List1"), IDC_CONTACT_LIST, 0, 0, 217, 300,
       WS_VISIBLE | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS |
           LVS_NOSORTHEADER,
       0, 0},
      {TELLBUD_USBPHONE_CLSID_TEXT, nullptr, IDC_USBPHONE, 111, 96, 60, 25, WS_VISIBLE, 0, 0},
      {TEXT("Button"), TEXT("OK"), IDOK, 0, 0, 50, 14, WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 0},
      {TEXT("Button"), TEXT("Cancel"), IDCANCEL, 0, 0, 50, 14, WS_TABSTOP | BS_PUSHBUTTON, 0, 0},
  };
  return d;
}

CDialogResource TextEntryDialog(UINT id, LPCWSTR caption, LPCWSTR prompt, DWORD editStyle) {
  CDialogResource d;
  d.id = id;
  d.caption = caption;
  d.cx = 161;
  d.cy = 66;
  d.style = kModalFrame;
  d.fontFace = TEXT("Tahoma");
  d.items = {
      {TEXT("Static"), prompt, IDC_STATIC_TEXT, 7, 7, 147, 8, WS_VISIBLE | SS_LEFT, 0, 0},
      {TEXT("Edit"), nullptr, IDC_NAME_EDIT, 7, 19, 147, 14, WS_VISIBLE | WS_BORDER | WS_TABSTOP | editStyle,
       0, 0},
      {TEXT("Button"), TEXT("OK"), IDOK, 27, 43, 50, 14, kDefaultButton, 0, 0},
      {TEXT("Button"), TEXT("Cancel"), IDCANCEL, 84, 43, 50, 14, kPushButton, 0, 0},
  };
  return d;
}

CDialogResource LanguageDialog() {
  CDialogResource d;
  d.id = IDD_LANGUAGE;
  d.caption = TEXT("Select language");
  d.cx = 161;
  d.cy = 66;
  d.style = kModalFrame;
  d.fontFace = TEXT("Tahoma");
  d.items = {
      {TEXT("Static"), TEXT("Select MSN language:"), IDC_STATIC_TEXT, 7, 7, 147, 8, WS_VISIBLE | SS_LEFT, 0,
       0},
      {TEXT("ComboBox"), nullptr, IDC_LANGUAGE_COMBO, 7, 19, 147, 80,
       WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, 0},
      {TEXT("Button"), TEXT("OK"), IDOK, 27, 43, 50, 14, kDefaultButton, 0, 0},
      {TEXT("Button"), TEXT("Cancel"), IDCANCEL, 84, 43, 50, 14, kPushButton, 0, 0},
  };
  return d;
}

CDialogResource OptionDialog() {
  const DWORD slider = WS_VISIBLE | WS_TABSTOP | TBS_HORZ | TBS_NOTICKS;
  const DWORD combo = WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_SORT;
  CDialogResource d;
  d.id = IDD_OPTION;
  d.caption = TEXT("Ring style");
  d.cx = 151;
  d.cy = 121;
  d.style = kModalFrame;
  d.fontFace = TEXT("MS Sans Serif");
  d.items = {
      // The labels get the room their text needs; the combos' items are short.
      {TEXT("Static"), TEXT("Ring style"), IDC_STATIC_TEXT, 7, 9, 60, 8, WS_VISIBLE | SS_LEFT, 0, 0},
      {TEXT("ComboBox"), nullptr, IDC_RING_COMBO, 100, 7, 44, 120, combo, 0, 0},
      {TEXT("Static"), TEXT("Adaptor default channel"), IDC_STATIC_TEXT, 7, 27, 90, 8, WS_VISIBLE | SS_LEFT,
       0, 0},
      {TEXT("ComboBox"), nullptr, IDC_CHANNEL_COMBO, 100, 25, 44, 60, combo, 0, 0},
      {TEXT("Static"), TEXT("Speaker"), IDC_STATIC_TEXT, 7, 47, 60, 8, WS_VISIBLE | SS_LEFT, 0, 0},
      {TEXT("Static"), TEXT("-"), IDC_STATIC_TEXT, 7, 58, 6, 8, WS_VISIBLE | SS_LEFT, 0, 0},
      {TEXT("msctls_trackbar32"), nullptr, IDC_SPEAKER_SLIDER, 14, 56, 120, 14, slider, 0, 0},
      {TEXT("Static"), TEXT("+"), IDC_STATIC_TEXT, 137, 58, 6, 8, WS_VISIBLE | SS_LEFT, 0, 0},
      {TEXT("Static"), TEXT("Microphone"), IDC_STATIC_TEXT, 7, 73, 60, 8, WS_VISIBLE | SS_LEFT, 0, 0},
      {TEXT("Static"), TEXT("-"), IDC_STATIC_TEXT, 7, 84, 6, 8, WS_VISIBLE | SS_LEFT, 0, 0},
      {TEXT("msctls_trackbar32"), nullptr, IDC_MIC_SLIDER, 14, 82, 120, 14, slider, 0, 0},
      {TEXT("Static"), TEXT("+"), IDC_STATIC_TEXT, 137, 84, 6, 8, WS_VISIBLE | SS_LEFT, 0, 0},
      {TEXT("Button"), TEXT("OK"), IDOK, 50, 100, 50, 14, kDefaultButton, 0, 0},
  };
  return d;
}

// A context menu is one popup whose items are the commands; TrackPopupMenuEx shows that popup.
CMenuResource ContextMenu(UINT id, LPCWSTR popupName, std::vector<CMenuItemResource> commands) {
  CMenuResource m;
  m.id = id;
  m.items = {CMenuItemResource(popupName, 0, MF_POPUP, std::move(commands))};
  return m;
}

CMenuResource TrayMenu() {
  return ContextMenu(IDR_TRAYMENU, TEXT("Tray"),
                     {
                         {TEXT("AutoRun"), ID_TRAY_AUTORUN},
                         {TEXT("SelectLanguage"), ID_TRAY_SELECTLANGUAGE},
                         {TEXT("SetAudio"), ID_TRAY_SETAUDIO},
                         {TEXT("Option"), ID_TRAY_OPTION},
                         {TEXT("About"), ID_TRAY_ABOUT},
                         CMenuItemResource::Separator(),
                         {TEXT("Exit"), ID_TRAY_EXIT},
                     });
}

CMenuResource ContactMenu() {
  return ContextMenu(IDR_CONTACTMENU, TEXT("Contact"),
                     {
                         {TEXT("StartVoice"), ID_CONTACT_STARTVOICE},
                         {TEXT("StartChat"), ID_CONTACT_STARTCHAT},
                         {TEXT("Rename"), ID_CONTACT_RENAME},
                         {TEXT("SpeedDialNumber"), ID_CONTACT_SPEEDDIAL},
                     });
}

CResourceTable BuildTable() {
  CResourceTable table;
  table.dialogs = {
      AboutDialog(),
      MainDialog(),
      TextEntryDialog(IDD_RENAME, TEXT("Rename"), TEXT("Input new name:"), ES_AUTOHSCROLL),
      TextEntryDialog(IDD_SPEEDDIAL, TEXT("Set speed dial number"), TEXT("Input speed dial number:"),
                      ES_AUTOHSCROLL | ES_NUMBER),
      LanguageDialog(),
      OptionDialog(),
  };
  table.menus = {TrayMenu(), ContactMenu()};
  table.strings = {{IDS_ABOUTBOX, TEXT("About Tellbud...")}};
  return table;
}

}  // namespace

const CResourceTable& TellbudResources() {
  static const CResourceTable table = BuildTable();
  return table;
}
