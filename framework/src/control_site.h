// The host side of one ActiveX control in a dialog: a site window (a framework window class,
// child of the dialog, with the item's id and place) and the control's COM object, with an event
// sink advised on the connection point of the control's default events interface. The control
// gets a client site and, where it offers it, a fresh start (IPersistStreamInit::InitNew).
#pragma once

#include <windows.h>
#include <ole2.h>
#include <ocidl.h>

#include <framework/resources.h>
#include <framework/wnd.h>

class CDialog;
class CEventSink;
class CClientSite;

class CControlSite : public CWnd {
 public:
  CControlSite(CDialog& owner, const CDialogItem& item);
  ~CControlSite() override;

  // Creates the site window and then the control. FALSE only when the window could not be
  // created; a control that cannot be created leaves the site without one.
  BOOL Create();
  // The control, or nullptr (not AddRef'ed).
  IDispatch* GetDispatch() const { return m_pDispatch; }
  UINT GetID() const { return m_nID; }
  // Stops the events and releases the control (the dialog is going away).
  void Disconnect();
  // An event arrived through the sink.
  HRESULT OnEvent(DISPID dispid, const DISPPARAMS& params);

 private:
  static LRESULT CALLBACK SiteWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
  BOOL CreateSiteWindow();
  void CreateControl();
  void Site();
  void Advise();
  IID DefaultSource() const;
  IConnectionPoint* FindEventsPoint(IConnectionPointContainer* container) const;

  CDialog& m_owner;
  UINT m_nID;
  CString m_strClsid;
  RECT m_rcDialogUnits;
  DWORD m_dwStyle;
  DWORD m_dwExStyle;
  IDispatch* m_pDispatch = nullptr;
  IConnectionPoint* m_pConnection = nullptr;
  DWORD m_dwCookie = 0;
  CEventSink* m_pSink = nullptr;
  IOleObject* m_pOleObject = nullptr;
  CClientSite* m_pClientSite = nullptr;
};
