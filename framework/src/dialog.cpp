#include <framework/dialog.h>

#include <framework/resources.h>
#include <framework/winapp.h>

#include "control_site.h"

#include <commctrl.h>

#include <algorithm>

namespace {

// Messages whose result a dialog procedure returns itself rather than through DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT message) {
  constexpr UINT kVKeyToItem = 0x002E, kCharToItem = 0x002F, kCompareItem = 0x0039;
  constexpr UINT kCtlColorFirst = 0x0132, kCtlColorLast = 0x0138;  // WM_CTLCOLORMSGBOX .. WM_CTLCOLORSTATIC
  return message == WM_INITDIALOG || message == WM_QUERYDRAGICON || message == kVKeyToItem ||
         message == kCharToItem || message == kCompareItem ||
         (message >= kCtlColorFirst && message <= kCtlColorLast);
}

CString MessageHandlerName(UINT message) {
  CString name;
  name.Format(TEXT("the handler of message 0x%04X"), message);
  return name;
}

// Where a subclassed dialog keeps the dialog manager's window procedure.
const WCHAR kSuperProcProp[] = TEXT("AfxDialogSuperProc");

// Templates may name common controls (a list view, a trackbar); Windows creates those only once
// the process has registered their classes, and registering again costs nothing.
void RegisterCommonControlClasses() {
  INITCOMMONCONTROLSEX classes{};
  classes.dwSize = sizeof classes;
  classes.dwICC = ICC_WIN95_CLASSES;
  InitCommonControlsEx(&classes);
}

}  // namespace

// ---- Construction and creation ------------------------------------------------------------------

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

CDialog::~CDialog() {
  // The derived parts (and the control wrappers they hold) are gone already: forget them and
  // let the window, if it still exists, go without calling back into this object.
  m_boundControls.clear();
  if (m_hWnd && FromHandlePermanent(m_hWnd) == this) {
    HWND hWnd = Detach();
    DisconnectControlSites();
    ::DestroyWindow(hWnd);
  }
  m_controlSites.clear();
}

HWND CDialog::ModalOwner() const {
  HWND owner = m_pParentWnd ? m_pParentWnd->GetSafeHwnd() : nullptr;
  if (!owner) {
    CWnd* mainWnd = AfxGetMainWnd();
    if (mainWnd && mainWnd != this) owner = mainWnd->GetSafeHwnd();
  }
  if (owner) owner = ::GetAncestor(owner, GA_ROOT);
  return ::IsWindow(owner) ? owner : nullptr;
}

HWND CDialog::CreateFromTemplate(HWND hWndOwner) {
  m_pResource = AfxFindDialogResource(m_nIDTemplate);
  if (!m_pResource) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  std::vector<BYTE> bytes = AfxBuildDialogTemplate(*m_pResource);
  RegisterCommonControlClasses();
  HWND hWnd =
      CreateDialogIndirectParamW(AfxGetInstanceHandle(), reinterpret_cast<LPCDLGTEMPLATEW>(bytes.data()),
                                 hWndOwner, DialogProc, reinterpret_cast<LPARAM>(this));
  if (!hWnd && m_hWnd) Detach();
  return hWnd;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) {
  if (m_hWnd) return FALSE;
  m_nIDTemplate = nIDTemplate;
  m_pParentWnd = pParentWnd;
  m_bEnded = false;
  HWND owner =
      pParentWnd && pParentWnd->GetSafeHwnd() ? ::GetAncestor(pParentWnd->GetSafeHwnd(), GA_ROOT) : nullptr;
  return CreateFromTemplate(owner) != nullptr;
}

// ---- The modal run --------------------------------------------------------------------------------

INT_PTR CDialog::DoModal() {
  if (m_hWnd) return -1;  // already running
  m_nModalResult = -1;
  m_bEnded = false;
  HWND owner = ModalOwner();
  if (owner && ::IsWindowEnabled(owner)) {
    ::EnableWindow(owner, FALSE);
    m_hDisabledOwner = owner;
  }

  m_bInModal = true;
  if (CreateFromTemplate(owner)) RunModalLoop();
  m_bInModal = false;

  // The owner takes input again before the dialog goes, so activation can return to it.
  EnableDisabledOwner();
  if (m_hWnd) ::DestroyWindow(m_hWnd);
  if (owner && ::IsWindowVisible(owner)) ::SetActiveWindow(owner);
  return m_nModalResult;
}

void CDialog::RunModalLoop() {
  bool shown = !m_bShowOnStart;
  MSG msg{};
  while (!m_bEnded && m_hWnd) {
    // Like the dialog manager, show the dialog once everything queued at its start has run.
    if (!shown && !PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      shown = true;
      if (!::IsWindowVisible(m_hWnd)) ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
      continue;
    }
    BOOL result = GetMessageW(&msg, nullptr, 0, 0);
    if (result == -1) break;
    if (result == 0) {
      // The program is quitting: end this run and leave the quit to the loops outside.
      PostQuitMessage(static_cast<int>(msg.wParam));
      m_nModalResult = -1;
      break;
    }
    if (!m_hWnd || !IsDialogMessageW(m_hWnd, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
}

void CDialog::EndDialog(int nResult) {
  m_nModalResult = nResult;
  m_bEnded = true;
  if (!m_hWnd) return;
  // As the dialog manager does: the owner is enabled before the dialog hides, otherwise the
  // system passes the activation over it to some other window, and the owner cannot win the
  // foreground back afterwards.
  EnableDisabledOwner();
  ::ShowWindow(m_hWnd, SW_HIDE);
  if (m_bInModal) {
    ::EndDialog(m_hWnd, nResult);
    // Wakes the modal loop even when this ran inside a message sent from another thread.
    ::PostMessageW(m_hWnd, WM_NULL, 0, 0);
  }
}

void CDialog::EnableDisabledOwner() {
  if (m_hDisabledOwner) ::EnableWindow(m_hDisabledOwner, TRUE);
  m_hDisabledOwner = nullptr;
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg) { return m_hWnd && pMsg && IsDialogMessageW(m_hWnd, pMsg); }

// ---- Message dispatch ---------------------------------------------------------------------------

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  CDialog* dialog = nullptr;
  if (message == WM_INITDIALOG) {
    dialog = reinterpret_cast<CDialog*>(lParam);
    if (!dialog) return FALSE;
    dialog->m_hWnd = hWnd;
    dialog->SetPermanent();
    WNDPROC super = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassProc)));
    SetPropW(hWnd, kSuperProcProp, reinterpret_cast<HANDLE>(super));
  } else {
    dialog = dynamic_cast<CDialog*>(FromHandlePermanent(hWnd));
  }
  if (!dialog) return FALSE;
  try {
    return dialog->HandleMessage(message, wParam, lParam);
  } catch (const std::exception& e) {
    AfxTraceException(MessageHandlerName(message), e);
    return FALSE;
  }
}

// Dialogs are subclassed with this procedure so that the framework sees WM_NCDESTROY after the
// dialog manager, whatever the dialog manager passes on to dialog procedures.
LRESULT CALLBACK CDialog::SubclassProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto super = reinterpret_cast<WNDPROC>(GetPropW(hWnd, kSuperProcProp));
  LRESULT result = super ? CallWindowProcW(super, hWnd, message, wParam, lParam)
                         : DefWindowProcW(hWnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    RemovePropW(hWnd, kSuperProcProp);
    if (auto* dialog = dynamic_cast<CDialog*>(FromHandlePermanent(hWnd))) {
      dialog->m_controlSites.clear();
      try {
        dialog->HandleNcDestroy();  // may delete the dialog (PostNcDestroy)
      } catch (const std::exception& e) {
        AfxTraceException(MessageHandlerName(message), e);
      }
    }
  }
  return result;
}

INT_PTR CDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) return InitDialog();
  LRESULT result = 0;
  if (message == WM_DESTROY) {
    // Whatever OnDestroy does, the controls are released and the wrappers let go.
    struct Teardown {
      CDialog* dialog;
      ~Teardown() {
        dialog->DisconnectControlSites();
        dialog->DetachBoundControls();
      }
    } teardown{this};
    Dispatch(message, wParam, lParam, result);
    return FALSE;  // the dialog manager still sees WM_DESTROY
  }
  if (!Dispatch(message, wParam, lParam, result)) return FALSE;
  if (ReturnsResultDirectly(message)) return static_cast<INT_PTR>(result);
  SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, result);
  return TRUE;
}

bool CDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  bool handled = true;
  struct Restore {
    CDialog* dialog;
    bool* outer;
    ~Restore() { dialog->m_pHandled = outer; }
  } restore{this, m_pHandled};
  m_pHandled = &handled;
  result = 0;
  switch (message) {
    case WM_COMMAND:
      handled = OnCommand(wParam, lParam) != FALSE;
      break;
    case WM_NOTIFY:
      handled = OnNotify(wParam, lParam, &result) != FALSE;
      break;
    case WM_TIMER:
      OnTimer(static_cast<UINT_PTR>(wParam));
      break;
    case WM_PAINT:
      OnPaint();
      break;
    case WM_SIZE:
      OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
      break;
    case WM_CLOSE:
      OnClose();
      break;
    case WM_SYSCOMMAND:
      OnSysCommand(static_cast<UINT>(wParam), lParam);
      break;
    case WM_QUERYDRAGICON:
      result = reinterpret_cast<LRESULT>(OnQueryDragIcon());
      break;
    case WM_DESTROY:
      OnDestroy();
      break;
    default:
      handled = OnMessage(message, wParam, lParam, &result) != FALSE;
      break;
  }
  return handled;
}

LRESULT CDialog::Default() {
  if (m_pHandled) *m_pHandled = false;
  return 0;
}

BOOL CDialog::InitDialog() {
  CreateControlSites();
  UpdateData(FALSE);
  return OnInitDialog();
}

// ---- Default handlers ---------------------------------------------------------------------------

BOOL CDialog::OnInitDialog() { return TRUE; }

void CDialog::OnOK() {
  if (UpdateData(TRUE)) EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
  UINT id = LOWORD(wParam);
  UINT code = HIWORD(wParam);
  // Buttons (BN_CLICKED), menus (0) and accelerators (1).
  if (code <= 1 && id == IDOK) {
    OnOK();
    return TRUE;
  }
  if (code <= 1 && id == IDCANCEL) {
    OnCancel();
    return TRUE;
  }
  return OnCommandId(id, code, reinterpret_cast<HWND>(lParam));
}

BOOL CDialog::OnCommandId(UINT, UINT, HWND) { return FALSE; }
BOOL CDialog::OnNotify(WPARAM, LPARAM, LRESULT*) { return FALSE; }
void CDialog::OnTimer(UINT_PTR) { Default(); }
void CDialog::OnPaint() { Default(); }
void CDialog::OnSize(UINT, int, int) { Default(); }
void CDialog::OnClose() { OnCancel(); }
void CDialog::OnSysCommand(UINT, LPARAM) { Default(); }
HCURSOR CDialog::OnQueryDragIcon() {
  Default();
  return nullptr;
}
void CDialog::OnDestroy() { Default(); }
BOOL CDialog::OnMessage(UINT, WPARAM, LPARAM, LRESULT*) { return FALSE; }

// ---- Data exchange and hosted controls -------------------------------------------------------------

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
  if (!m_hWnd) return FALSE;
  CDataExchange dx(this, bSaveAndValidate);
  try {
    DoDataExchange(&dx);
  } catch (const CUserException&) {
    return FALSE;
  }
  return TRUE;
}

void CDialog::BindControl(CWnd& rControl, HWND hWndCtrl) {
  if (rControl.m_hWnd != hWndCtrl) {
    rControl.Detach();
    rControl.m_hWnd = hWndCtrl;
  }
  if (std::find(m_boundControls.begin(), m_boundControls.end(), &rControl) == m_boundControls.end()) {
    m_boundControls.push_back(&rControl);
  }
}

CWnd* CDialog::FindBoundChild(HWND hWnd) {
  auto it = std::find_if(m_boundControls.begin(), m_boundControls.end(),
                         [hWnd](CWnd* control) { return control->m_hWnd == hWnd; });
  return it == m_boundControls.end() ? nullptr : *it;
}

void CDialog::DetachBoundControls() {
  for (CWnd* control : m_boundControls) control->Detach();
  m_boundControls.clear();
}

void CDialog::CreateControlSites() {
  if (!m_pResource || !AfxControlContainerEnabled()) return;
  for (const CDialogItem& item : m_pResource->items) {
    if (!AfxIsActiveXItem(item)) continue;
    auto site = std::make_unique<CControlSite>(*this, item);
    if (site->Create()) m_controlSites.push_back(std::move(site));
  }
}

void CDialog::DisconnectControlSites() {
  for (auto& site : m_controlSites) site->Disconnect();
}

void CDialog::SetEventHandler(UINT nCtrlID, DISPID dispid, CEventHandler handler) {
  m_eventHandlers[{nCtrlID, dispid}] = std::move(handler);
}

HRESULT CDialog::FireEvent(UINT nCtrlID, DISPID dispid, const DISPPARAMS& params) {
  auto it = m_eventHandlers.find({nCtrlID, dispid});
  if (it == m_eventHandlers.end() || !it->second) return DISP_E_MEMBERNOTFOUND;
  try {
    return it->second(params);
  } catch (const std::exception& e) {
    CString where;
    where.Format(TEXT("the handler of event %d of control %u"), static_cast<int>(dispid), nCtrlID);
    AfxTraceException(where, e);
    return DISP_E_EXCEPTION;
  }
}
