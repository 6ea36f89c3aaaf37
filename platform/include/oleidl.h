// OLE's document interfaces, as far as a control container and its controls use them: the
// client site a container gives each control (IOleClientSite) and the control's side
// (IOleObject). The types the other members take are declared only by name.
#pragma once

#include <objidl.h>

struct IMoniker;
struct IDataObject;
struct IEnumOLEVERB;
struct IAdviseSink;
struct IEnumSTATDATA;
struct IOleContainer;
struct IOleClientSite;
struct tagLOGPALETTE;
typedef struct tagLOGPALETTE LOGPALETTE;

typedef SIZE SIZEL, *PSIZEL, *LPSIZEL;

EXTERN_C const IID IID_IOleClientSite;
EXTERN_C const IID IID_IOleObject;

#define OLECLOSE_SAVEIFDIRTY 0
#define OLECLOSE_NOSAVE 1
#define OLEIVERB_PRIMARY 0L
#define OLEIVERB_SHOW (-1L)
#define OLEIVERB_INPLACEACTIVATE (-5L)
#define OLEMISC_INVISIBLEATRUNTIME 0x00000400
#define OLEMISC_SETCLIENTSITEFIRST 0x00020000
#define DVASPECT_CONTENT 1
#define OLE_E_NOCONNECTION ((HRESULT)0x80040004L)

struct IOleClientSite : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE SaveObject(void) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetMoniker(DWORD dwAssign, DWORD dwWhichMoniker, IMoniker** ppmk) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** ppContainer) = 0;
  virtual HRESULT STDMETHODCALLTYPE ShowObject(void) = 0;
  virtual HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL fShow) = 0;
  virtual HRESULT STDMETHODCALLTYPE RequestNewObjectLayout(void) = 0;
};
typedef IOleClientSite* LPOLECLIENTSITE;

struct IOleObject : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* pClientSite) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** ppClientSite) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR szContainerApp, LPCOLESTR szContainerObj) = 0;
  virtual HRESULT STDMETHODCALLTYPE Close(DWORD dwSaveOption) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetMoniker(DWORD dwWhichMoniker, IMoniker* pmk) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetMoniker(DWORD dwAssign, DWORD dwWhichMoniker, IMoniker** ppmk) = 0;
  virtual HRESULT STDMETHODCALLTYPE InitFromData(IDataObject* pDataObject, BOOL fCreation,
                                                 DWORD dwReserved) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD dwReserved, IDataObject** ppDataObject) = 0;
  virtual HRESULT STDMETHODCALLTYPE DoVerb(LONG iVerb, LPMSG lpmsg, IOleClientSite* pActiveSite, LONG lindex,
                                           HWND hwndParent, LPCRECT lprcPosRect) = 0;
  virtual HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB** ppEnumOleVerb) = 0;
  virtual HRESULT STDMETHODCALLTYPE Update(void) = 0;
  virtual HRESULT STDMETHODCALLTYPE IsUpToDate(void) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID* pClsid) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetUserType(DWORD dwFormOfType, LPOLESTR* pszUserType) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetExtent(DWORD dwDrawAspect, SIZEL* psizel) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetExtent(DWORD dwDrawAspect, SIZEL* psizel) = 0;
  virtual HRESULT STDMETHODCALLTYPE Advise(IAdviseSink* pAdvSink, DWORD* pdwConnection) = 0;
  virtual HRESULT STDMETHODCALLTYPE Unadvise(DWORD dwConnection) = 0;
  virtual HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA** ppenumAdvise) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD dwAspect, DWORD* pdwStatus) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE* pLogpal) = 0;
};
typedef IOleObject* LPOLEOBJECT;
