#include "control_site.h"

#include <framework/dialog.h>
#include <framework/winapp.h>

namespace {

const WCHAR kSiteClass[] = TEXT("AfxControlSite");

void TraceFailure(LPCWSTR what, const CString& clsid, HRESULT hr) {
  CString line;
  line.Format(TEXT("ActiveX control %s: %s (0x%08X)"), static_cast<LPCWSTR>(clsid), what,
              static_cast<unsigned>(hr));
  AfxTrace(line);
}

}  // namespace

// The sink the host advises on a control's event source. It answers for IUnknown, IDispatch and
// the source's own event interface and nothing else, and hands every event to its site until the site
// detaches.
class CEventSink final : public IDispatch {
 public:
  CEventSink(CControlSite* pSite, const IID& iidEvents) : m_pSite(pSite), m_iidEvents(iidEvents) {}

  void DetachSite() { m_pSite = nullptr; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override {
    if (!ppvObject) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, m_iidEvents)) {
      *ppvObject = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *ppvObject = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++m_nRefs; }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG refs = --m_nRefs;
    if (refs == 0) delete this;
    return refs;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) override {
    if (!pctinfo) return E_POINTER;
    *pctinfo = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) override {
    if (ppTInfo) *ppTInfo = nullptr;
    return DISP_E_BADINDEX;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return DISP_E_UNKNOWNNAME;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID dispIdMember, REFIID, LCID, WORD, DISPPARAMS* pDispParams, VARIANT*,
                                   EXCEPINFO*, UINT*) override {
    if (!m_pSite) return DISP_E_MEMBERNOTFOUND;
    DISPPARAMS none{};
    return m_pSite->OnEvent(dispIdMember, pDispParams ? *pDispParams : none);
  }

 private:
  ~CEventSink() = default;

  ULONG m_nRefs = 1;
  CControlSite* m_pSite;
  IID m_iidEvents;
};

// The client site the host gives its control, as a Windows container does: the control learns
// it is sited (many controls raise events only then); the site offers no container, moniker
// or layout of its own.
class CClientSite final : public IOleClientSite {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override {
    if (!ppvObject) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IOleClientSite)) {
      *ppvObject = static_cast<IOleClientSite*>(this);
      AddRef();
      return S_OK;
    }
    *ppvObject = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++m_nRefs; }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG refs = --m_nRefs;
    if (refs == 0) delete this;
    return refs;
  }
  HRESULT STDMETHODCALLTYPE SaveObject() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** ppmk) override {
    if (ppmk) *ppmk = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** ppContainer) override {
    if (ppContainer) *ppContainer = nullptr;
    return E_NOINTERFACE;
  }
  HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

 private:
  ~CClientSite() = default;
  ULONG m_nRefs = 1;
};

CControlSite::CControlSite(CDialog& owner, const CDialogItem& item)
    : m_owner(owner),
      m_nID(item.id),
      m_strClsid(item.className),
      m_rcDialogUnits{item.x, item.y, item.x + item.cx, item.y + item.cy},
      m_dwStyle(item.style | WS_CHILD),
      m_dwExStyle(item.exStyle) {}

CControlSite::~CControlSite() {
  Disconnect();
  if (m_hWnd) Detach();
}

BOOL CControlSite::Create() {
  if (!CreateSiteWindow()) return FALSE;
  CreateControl();
  return TRUE;
}

BOOL CControlSite::CreateSiteWindow() {
  HINSTANCE instance = AfxGetInstanceHandle();
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (!GetClassInfoExW(instance, kSiteClass, &existing)) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = SiteWndProc;
    wc.hInstance = instance;
    wc.lpszClassName = kSiteClass;
    RegisterClassW(&wc);
  }
  RECT rc = m_rcDialogUnits;
  MapDialogRect(m_owner.GetSafeHwnd(), &rc);
  HWND hWnd = CreateWindowExW(m_dwExStyle, kSiteClass, TEXT(""), m_dwStyle, rc.left, rc.top,
                              rc.right - rc.left, rc.bottom - rc.top, m_owner.GetSafeHwnd(),
                              reinterpret_cast<HMENU>(static_cast<UINT_PTR>(m_nID)), instance, nullptr);
  if (!hWnd) {
    TraceFailure(TEXT("the site window could not be created"), m_strClsid,
                 HRESULT_FROM_WIN32(GetLastError()));
    return FALSE;
  }
  m_hWnd = hWnd;
  SetPermanent();
  return TRUE;
}

void CControlSite::CreateControl() {
  CLSID clsid;
  HRESULT hr = CLSIDFromString(m_strClsid, &clsid);
  if (FAILED(hr)) {
    TraceFailure(TEXT("not a class id"), m_strClsid, hr);
    return;
  }
  IDispatch* dispatch = nullptr;
  hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                        reinterpret_cast<void**>(&dispatch));
  if (FAILED(hr) || !dispatch) {
    TraceFailure(TEXT("could not be created"), m_strClsid, hr);
    return;
  }
  m_pDispatch = dispatch;
  Site();
  Advise();
}

void CControlSite::Site() {
  IOleObject* object = nullptr;
  if (SUCCEEDED(m_pDispatch->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&object))) && object) {
    m_pClientSite = new CClientSite;
    HRESULT hr = object->SetClientSite(m_pClientSite);
    if (FAILED(hr)) TraceFailure(TEXT("refused its client site"), m_strClsid, hr);
    m_pOleObject = object;
  }
  IPersistStreamInit* persist = nullptr;
  if (SUCCEEDED(m_pDispatch->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&persist))) &&
      persist) {
    HRESULT hr = persist->InitNew();
    if (FAILED(hr)) TraceFailure(TEXT("could not be initialised"), m_strClsid, hr);
    persist->Release();
  }
}

// The control's default events interface as it announces it; GUID_NULL when it does not.
IID CControlSite::DefaultSource() const {
  IID iid = GUID_NULL;
  IProvideClassInfo2* info = nullptr;
  if (SUCCEEDED(m_pDispatch->QueryInterface(IID_IProvideClassInfo2, reinterpret_cast<void**>(&info))) &&
      info) {
    if (FAILED(info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &iid))) iid = GUID_NULL;
    info->Release();
  }
  return iid;
}

// The events' connection point: the default source's, or else the first one that is not a
// property notification point (a sink of dispatch events cannot serve as one).
IConnectionPoint* CControlSite::FindEventsPoint(IConnectionPointContainer* container) const {
  IConnectionPoint* point = nullptr;
  IID source = DefaultSource();
  if (!IsEqualIID(source, GUID_NULL)) {
    if (FAILED(container->FindConnectionPoint(source, &point))) point = nullptr;
    return point;
  }
  IEnumConnectionPoints* points = nullptr;
  if (FAILED(container->EnumConnectionPoints(&points)) || !points) return nullptr;
  ULONG fetched = 0;
  while (points->Next(1, &point, &fetched) == S_OK && point) {
    IID iid;
    if (SUCCEEDED(point->GetConnectionInterface(&iid)) && !IsEqualIID(iid, IID_IPropertyNotifySink)) break;
    point->Release();
    point = nullptr;
  }
  points->Release();
  return point;
}

void CControlSite::Advise() {
  IConnectionPointContainer* container = nullptr;
  if (FAILED(
          m_pDispatch->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container))) ||
      !container) {
    return;  // a control without events
  }
  IConnectionPoint* point = FindEventsPoint(container);
  IID iid;
  if (point && SUCCEEDED(point->GetConnectionInterface(&iid))) {
    auto* sink = new CEventSink(this, iid);
    DWORD cookie = 0;
    HRESULT hr = point->Advise(static_cast<IDispatch*>(sink), &cookie);
    if (SUCCEEDED(hr)) {
      m_pConnection = point;
      point = nullptr;
      m_dwCookie = cookie;
      m_pSink = sink;
    } else {
      TraceFailure(TEXT("its events could not be connected"), m_strClsid, hr);
      sink->DetachSite();
      sink->Release();
    }
  }
  if (point) point->Release();
  container->Release();
}

void CControlSite::Disconnect() {
  if (m_pConnection) {
    m_pConnection->Unadvise(m_dwCookie);
    m_pConnection->Release();
    m_pConnection = nullptr;
  }
  if (m_pSink) {
    m_pSink->DetachSite();
    m_pSink->Release();
    m_pSink = nullptr;
  }
  if (m_pOleObject) {
    m_pOleObject->Close(OLECLOSE_NOSAVE);
    m_pOleObject->SetClientSite(nullptr);
    m_pOleObject->Release();
    m_pOleObject = nullptr;
  }
  if (m_pClientSite) {
    m_pClientSite->Release();
    m_pClientSite = nullptr;
  }
  if (m_pDispatch) {
    m_pDispatch->Release();
    m_pDispatch = nullptr;
  }
}

HRESULT CControlSite::OnEvent(DISPID dispid, const DISPPARAMS& params) {
  return m_owner.FireEvent(m_nID, dispid, params);
}

LRESULT CALLBACK CControlSite::SiteWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCDESTROY) {
    if (auto* site = dynamic_cast<CControlSite*>(FromHandlePermanent(hWnd))) site->Detach();
  }
  return DefWindowProcW(hWnd, message, wParam, lParam);
}
