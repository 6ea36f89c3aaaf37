// Connectable objects: an object's outgoing interfaces reached through IConnectionPointContainer,
// the connection points that sinks advise, and their enumerators; and IProvideClassInfo.
#pragma once

#include <oaidl.h>

EXTERN_C const IID IID_IConnectionPointContainer;
EXTERN_C const IID IID_IConnectionPoint;
EXTERN_C const IID IID_IEnumConnections;
EXTERN_C const IID IID_IEnumConnectionPoints;
EXTERN_C const IID IID_IProvideClassInfo;

struct IConnectionPoint;
struct IConnectionPointContainer;

typedef struct tagCONNECTDATA {
  IUnknown* pUnk;
  DWORD dwCookie;
} CONNECTDATA, *PCONNECTDATA, *LPCONNECTDATA;

struct IEnumConnections : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Next(ULONG cConnections, LPCONNECTDATA rgcd, ULONG* pcFetched) = 0;
  virtual HRESULT STDMETHODCALLTYPE Skip(ULONG cConnections) = 0;
  virtual HRESULT STDMETHODCALLTYPE Reset(void) = 0;
  virtual HRESULT STDMETHODCALLTYPE Clone(IEnumConnections** ppEnum) = 0;
};
typedef IEnumConnections* PENUMCONNECTIONS;
typedef IEnumConnections* LPENUMCONNECTIONS;

struct IConnectionPoint : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* pIID) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** ppCPC) = 0;
  virtual HRESULT STDMETHODCALLTYPE Advise(IUnknown* pUnkSink, DWORD* pdwCookie) = 0;
  virtual HRESULT STDMETHODCALLTYPE Unadvise(DWORD dwCookie) = 0;
  virtual HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** ppEnum) = 0;
};
typedef IConnectionPoint* PCONNECTIONPOINT;
typedef IConnectionPoint* LPCONNECTIONPOINT;

struct IEnumConnectionPoints : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Next(ULONG cConnections, LPCONNECTIONPOINT* ppCP, ULONG* pcFetched) = 0;
  virtual HRESULT STDMETHODCALLTYPE Skip(ULONG cConnections) = 0;
  virtual HRESULT STDMETHODCALLTYPE Reset(void) = 0;
  virtual HRESULT STDMETHODCALLTYPE Clone(IEnumConnectionPoints** ppEnum) = 0;
};
typedef IEnumConnectionPoints* PENUMCONNECTIONPOINTS;
typedef IEnumConnectionPoints* LPENUMCONNECTIONPOINTS;

struct IConnectionPointContainer : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** ppEnum) = 0;
  virtual HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) = 0;
};
typedef IConnectionPointContainer* PCONNECTIONPOINTCONTAINER;
typedef IConnectionPointContainer* LPCONNECTIONPOINTCONTAINER;

struct IProvideClassInfo : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** ppTI) = 0;
};
typedef IProvideClassInfo* LPPROVIDECLASSINFO;

// A control's class information beyond its type: the events interface it raises by default.
EXTERN_C const IID IID_IProvideClassInfo2;
#define GUIDKIND_DEFAULT_SOURCE_DISP_IID 1

struct IProvideClassInfo2 : public IProvideClassInfo {
  virtual HRESULT STDMETHODCALLTYPE GetGUID(DWORD dwGuidKind, GUID* pGUID) = 0;
};
typedef IProvideClassInfo2* LPPROVIDECLASSINFO2;

// Persistence through a stream; a container calls InitNew on a control it creates afresh.
struct IStream;
typedef IStream* LPSTREAM;
EXTERN_C const IID IID_IPersist;
EXTERN_C const IID IID_IPersistStreamInit;

struct IPersist : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetClassID(CLSID* pClassID) = 0;
};

struct IPersistStreamInit : public IPersist {
  virtual HRESULT STDMETHODCALLTYPE IsDirty(void) = 0;
  virtual HRESULT STDMETHODCALLTYPE Load(LPSTREAM pStm) = 0;
  virtual HRESULT STDMETHODCALLTYPE Save(LPSTREAM pStm, BOOL fClearDirty) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER* pCbSize) = 0;
  virtual HRESULT STDMETHODCALLTYPE InitNew(void) = 0;
};
typedef IPersistStreamInit* LPPERSISTSTREAMINIT;

// Property change notifications, a connection point many controls offer beside their events.
EXTERN_C const IID IID_IPropertyNotifySink;

struct IPropertyNotifySink : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE OnChanged(DISPID dispID) = 0;
  virtual HRESULT STDMETHODCALLTYPE OnRequestEdit(DISPID dispID) = 0;
};
