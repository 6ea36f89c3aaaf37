// The main window itself: construction, initialisation, painting, resizing, visibility and
// destruction, and the thin dispatch of its messages to the areas that handle them.
#include "ui/tellbud_dlg.h"

#include <commctrl.h>
#include <strsafe.h>

#include <framework/resources.h>
#include <framework/winapp.h>

#include "app/paths.h"
#include "res/resource.h"

namespace {

const WCHAR kNoHandsetTip[] = TEXT("Can't find USB Phone");
const UINT kTrayIconId = IDR_MAINFRAME;

}  // namespace

CTellbudDlg::CTellbudDlg() : CDialog(IDD_TELLBUD_DIALOG, nullptr) {
  m_hIcon = LoadIconW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(IDR_MAINFRAME));
  IIDFromString(TELLBUD_CLSID_MESSENGER_TEXT, &m_clsidMessenger);
  IIDFromString(TELLBUD_IID_MESSENGER_TEXT, &m_iidMessenger);
  IIDFromString(TELLBUD_IID_MESSENGER_EVENTS_TEXT, &m_iidMessengerEvents);

  BindEvent(IDC_USBPHONE, USBPHONE_EVENT_DEVICE_REMOVED, &CTellbudDlg::OnDeviceRemoved);
  BindEvent(IDC_USBPHONE, USBPHONE_EVENT_KEY_PRESSED, &CTellbudDlg::OnKeyPressed);
  BindEvent(IDC_USBPHONE, USBPHONE_EVENT_HOOK_CHANGED, &CTellbudDlg::OnHookChanged);
  BindEvent(IDC_USBPHONE, USBPHONE_EVENT_LINE_ACTIVITY, &CTellbudDlg::OnLineActivity);
  BindEvent(IDC_USBPHONE, USBPHONE_EVENT_HOOK_CHANGED_B, &CTellbudDlg::OnHookChangedB);
  BindEvent(IDC_USBPHONE, USBPHONE_EVENT_LEVEL_KEY_PRESSED, &CTellbudDlg::OnLevelKeyPressed);
}

// The tray icon goes with the window object; the counted references release Messenger's objects.
CTellbudDlg::~CTellbudDlg() {
  m_trayIcon.Remove();
  if (m_pEventSink) m_pEventSink->Detach();
}

void CTellbudDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_CONTACT_LIST, m_list);
  DDX_Control(pDX, IDC_USBPHONE, m_phone);
}

BOOL CTellbudDlg::OnInitDialog() {
  CDialog::OnInitDialog();

  if (CMenu* systemMenu = GetSystemMenu(FALSE)) {
    CString about = AfxLoadString(IDS_ABOUTBOX);
    if (!about.IsEmpty()) {
      systemMenu->AppendMenu(MF_SEPARATOR);
      systemMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, about);
    }
  }
  SetIcon(m_hIcon, TRUE);
  SetIcon(m_hIcon, FALSE);

  m_trayIcon.Add(m_hWnd, WM_TRAYNOTIFY, m_hIcon, kNoHandsetTip, kTrayIconId);
  if (m_trayMenuResource.LoadMenu(IDR_TRAYMENU)) {
    if (CMenu* tray = m_trayMenuResource.GetSubMenu(0)) m_hTrayMenu = tray->GetSafeHmenu();
  }

  m_list.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  InsertContactColumns();
  CreateStatusImages();

  SetTimer(TIMER_PHONE_SEARCH, PHONE_SEARCH_FIRST_MS);
  SetTimer(TIMER_MESSENGER_WATCH, MESSENGER_WATCH_MS);
  DetectAutoRun();
  return TRUE;
}

void CTellbudDlg::InsertContactColumns() {
  m_list.InsertColumn(0, TEXT("FriendlyName"), LVCFMT_LEFT, 240);
  m_list.InsertColumn(1, TEXT("SpeedNumber"), LVCFMT_LEFT, 120);
  m_list.InsertColumn(2, TEXT("SigninName"), LVCFMT_LEFT, 200);
}

// Image 0 marks online contacts, image 1 offline ones.
void CTellbudDlg::CreateStatusImages() {
  m_imageList.Create(16, 16, ILC_COLORDDB | ILC_MASK, 20, 1);
  m_list.SetImageList(&m_imageList, LVSIL_SMALL);
  m_imageList.Add(LoadIconW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(IDI_ONLINE)));
  m_imageList.Add(LoadIconW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(IDI_OFFLINE)));
}

// OK, Cancel (Enter, Escape) and closing only hide the window: the program lives in the tray.
void CTellbudDlg::OnOK() { ShowWindow(SW_HIDE); }

void CTellbudDlg::OnCancel() { ShowWindow(SW_HIDE); }

void CTellbudDlg::OnClose() { ShowWindow(SW_HIDE); }

void CTellbudDlg::OnSysCommand(UINT nID, LPARAM) {
  if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
    OnAbout();
  } else {
    Default();
  }
}

// Minimised, the window shows the program icon centred; otherwise the list covers it.
void CTellbudDlg::OnPaint() {
  if (IsIconic()) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_hWnd, &ps);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT rect;
    GetClientRect(&rect);
    int x = (rect.right - rect.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    int y = (rect.bottom - rect.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, x, y, m_hIcon);
    EndPaint(m_hWnd, &ps);
    return;
  }
  if (m_list.GetSafeHwnd()) {
    RECT rect;
    GetClientRect(&rect);
    m_list.MoveWindow(&rect, TRUE);
  }
  Default();
}

void CTellbudDlg::OnSize(UINT, int, int) {
  Default();
  if (m_list.GetSafeHwnd()) {
    RECT rect;
    GetClientRect(&rect);
    m_list.SetWindowPos(nullptr, rect.left, rect.top, rect.right, rect.bottom, SWP_SHOWWINDOW);
  }
}

HCURSOR CTellbudDlg::OnQueryDragIcon() { return static_cast<HCURSOR>(m_hIcon); }

void CTellbudDlg::OnDestroy() {
  // Nothing will be left to silence a handset that rings, or to clear what it shows.
  if (m_bPhoneFound) m_phone.SetIdle();
  m_phone.CloseDevice();
  if (m_pEventSink) {
    // Events that Messenger still sends after this find no window to act on.
    m_pEventSink->Detach();
    m_pEventSink.Release();
  }
  Default();
}

BOOL CTellbudDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (message == WM_TRAYNOTIFY) {
    *pResult = OnTrayNotify(wParam, lParam);
    return TRUE;
  }
  return CDialog::OnMessage(message, wParam, lParam, pResult);
}

void CTellbudDlg::OnTimer(UINT_PTR nIDEvent) {
  switch (nIDEvent) {
    case TIMER_PHONE_SEARCH:
      OnPhoneSearchTick();
      break;
    case TIMER_MESSENGER_WATCH:
      OnMessengerWatchTick();
      break;
    case TIMER_PAUSE_END:
      OnPauseEnd();
      break;
    case TIMER_CONTACT_REFRESH:
      OnContactRefreshTick();
      break;
    case TIMER_RING_PREVIEW:
      StopRingPreview();
      break;
    default:
      Default();
      break;
  }
}

BOOL CTellbudDlg::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  auto* header = reinterpret_cast<NMHDR*>(lParam);
  if (header && header->idFrom == IDC_CONTACT_LIST) {
    if (header->code == NM_DBLCLK) {
      OnContactDoubleClick(reinterpret_cast<NMITEMACTIVATE*>(lParam)->ptAction);
      *pResult = 0;
      return TRUE;
    }
    if (header->code == NM_RCLICK) {
      OnContactRightClick(reinterpret_cast<NMITEMACTIVATE*>(lParam)->ptAction);
      *pResult = 0;
      return TRUE;
    }
  }
  return CDialog::OnNotify(wParam, lParam, pResult);
}

void CTellbudDlg::RaiseMainWindow(BOOL activate) {
  ShowWindow(SW_SHOW);
  BringWindowToTop();
  SetForegroundWindow();
  if (activate) SetActiveWindow();
}

void CTellbudDlg::ShowTrayState(LPCWSTR iconFile, LPCWSTR tip) {
  WCHAR path[MAX_PATH];
  if (FileBesideExecutable(path, iconFile)) {
    m_trayIcon.SetIconFromFile(path);
  } else {
    m_trayIcon.SetIcon(nullptr);
  }
  m_trayIcon.SetTip(tip);
}

void CTellbudDlg::TraceMessengerFailure(LPCWSTR step, const _com_error& e) {
  WCHAR line[160];
  StringCchPrintfW(line, ARRAYSIZE(line), TEXT("Tellbud: %s ended: a Messenger call failed with 0x%08X\n"),
                   step, static_cast<unsigned>(e.Error()));
  OutputDebugStringW(line);
}
