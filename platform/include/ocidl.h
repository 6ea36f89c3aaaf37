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
