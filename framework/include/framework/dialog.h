// CDialog: a dialog built from the resource table, run modally by the framework's own loop
// (DoModal) or modeless (Create), with handlers as virtual members, data exchange (DDX/DDV)
// and hosted ActiveX controls whose events are routed to members (BindEvent).
#pragma once

#include <windows.h>

#include <framework/activex.h>
#include <framework/cstring.h>
#include <framework/resources.h>
#include <framework/winapp.h>
#include <framework/wnd.h>

#include <exception>
#include <map>
#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

class CDialog;
class CControlSite;

// Thrown by CDataExchange::Fail to abandon a data exchange; UpdateData catches it.
class CUserException : public std::exception {
 public:
  const char* what() const noexcept override { return "data exchange failed"; }
};

class CDataExchange {
 public:
  CDataExchange(CDialog* pDlgWnd, BOOL bSaveAndValidate);

  BOOL m_bSaveAndValidate;  // TRUE: controls -> members; FALSE: members -> controls
  CDialog* m_pDlgWnd;

  // The control with this id (remembered for Fail), or nullptr.
  HWND PrepareCtrl(int nIDC);
  HWND PrepareEditCtrl(int nIDC);
  // Gives the focus back to the last prepared control (selecting an edit's text) and throws
  // CUserException.
  [[noreturn]] void Fail();

  int m_idLastControl = 0;
  BOOL m_bEditLastControl = FALSE;
};

class CDialog : public CWnd {
 public:
  explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
  ~CDialog() override;

  // Runs the dialog modally and returns the EndDialog result; -1 when the dialog could not be
  // created or a WM_QUIT ended it (the WM_QUIT is posted again for the loop outside).
  virtual INT_PTR DoModal();
  // Creates the dialog modeless; FALSE when there is no such template or creation failed.
  BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
  // Ends a modal run with nResult; hides the window at once.
  void EndDialog(int nResult);
  // Runs DoDataExchange; FALSE when a validation failed.
  BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
  // Whether DoModal shows the dialog once its queue is idle (default TRUE). A dialog that
  // lives hidden (a tray program's main window) turns this off.
  void SetShowOnStart(BOOL bShow) { m_bShowOnStart = bShow; }
  UINT GetTemplateID() const { return m_nIDTemplate; }

  BOOL PreTranslateMessage(MSG* pMsg) override;

  // Routes event `dispid` of the ActiveX control with id nCtrlID to a member of the dialog,
  // e.g. BindEvent(IDC_PHONE, 2, &CMyDlg::OnKeyPressed) with void OnKeyPressed(short).
  template <typename TDialog, typename... Args>
  void BindEvent(UINT nCtrlID, DISPID dispid, void (TDialog::*pHandler)(Args...)) {
    static_assert(std::is_base_of_v<CDialog, TDialog>, "handlers are members of the dialog");
    TDialog* self = static_cast<TDialog*>(this);
    SetEventHandler(nCtrlID, dispid, [self, pHandler](const DISPPARAMS& params) {
      return afx_variant::CallWith<Args...>(
          params, [self, pHandler](auto&... values) { (self->*pHandler)(values...); });
    });
  }
  void SetEventHandler(UINT nCtrlID, DISPID dispid, CEventHandler handler);
  // Runs the handler bound to the event; DISP_E_MEMBERNOTFOUND when there is none.
  HRESULT FireEvent(UINT nCtrlID, DISPID dispid, const DISPPARAMS& params);

  // Used by DDX_Control: the wrapper is detached again when the dialog is destroyed.
  void BindControl(CWnd& rControl, HWND hWndCtrl);

 protected:
  // Called after the controls exist and DoDataExchange has filled them; TRUE lets the dialog
  // manager give the focus to the first control.
  virtual BOOL OnInitDialog();
  // UpdateData(TRUE), then EndDialog(IDOK) only when it succeeded.
  virtual void OnOK();
  virtual void OnCancel();
  virtual void DoDataExchange(CDataExchange* pDX);

  // Handlers. Those returning BOOL say whether they handled the message; the void ones that are
  // not overridden leave the message to the dialog manager (so does calling Default()).
  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
  virtual BOOL OnCommandId(UINT nID, UINT nCode, HWND hWndCtl);
  virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  virtual void OnTimer(UINT_PTR nIDEvent);
  virtual void OnPaint();
  virtual void OnSize(UINT nType, int cx, int cy);
  virtual void OnClose();
  virtual void OnSysCommand(UINT nID, LPARAM lParam);
  virtual HCURSOR OnQueryDragIcon();
  virtual void OnDestroy();
  // Any other message (an application's WM_USER + n, ...): TRUE with *pResult when handled.
  virtual BOOL OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  // Leaves the message being handled to the dialog manager's default processing.
  LRESULT Default();

  UINT m_nIDTemplate;
  CWnd* m_pParentWnd;

 private:
  friend class CDataExchange;
  static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK SubclassProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  bool Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  BOOL InitDialog();
  HWND CreateFromTemplate(HWND hWndOwner);
  HWND ModalOwner() const;
  void RunModalLoop();
  void EnableDisabledOwner();
  void CreateControlSites();
  void DisconnectControlSites();
  void DetachBoundControls();
  CWnd* FindBoundChild(HWND hWnd) override;

  const CDialogResource* m_pResource = nullptr;
  bool m_bInModal = false;
  bool m_bEnded = false;
  HWND m_hDisabledOwner = nullptr;  // the owner the modal run disabled, until it is enabled again
  BOOL m_bShowOnStart = TRUE;
  INT_PTR m_nModalResult = -1;
  bool* m_pHandled = nullptr;  // the current message's "handled" flag (see Default)
  std::vector<CWnd*> m_boundControls;
  std::vector<std::unique_ptr<CControlSite>> m_controlSites;
  std::map<std::pair<UINT, DISPID>, CEventHandler> m_eventHandlers;
};

// Message box of the application: captioned with its title, owned by hWndOwner (the calling
// thread's active window when null).
int AfxMessageBox(LPCWSTR lpszText, UINT nType = MB_OK, HWND hWndOwner = nullptr);

// ---- Data exchange ------------------------------------------------------------------------------
// Binds a wrapper to the control (for an ActiveX item, to its site window).
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
// On save, text that is not a whole number in int's range shows "Please enter an integer." and fails.
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
// After DDX_Text of an edit: on save, text longer than nChars shows "Please enter no more than
// nChars characters." and fails; on load it limits the edit to nChars (EM_LIMITTEXT).
void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars);
// The selected index of a combo box (-1: none).
void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
// A trackbar's position.
void DDX_Slider(CDataExchange* pDX, int nIDC, int& value);
// A check box's state (BST_UNCHECKED, BST_CHECKED).
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
