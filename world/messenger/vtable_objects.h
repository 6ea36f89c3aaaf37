// What every object implementing Messenger's interfaces shares, the stand-in's proxies and the
// forwarding objects of TellbudMessenger.dll alike: the identifiers each interface answers, an
// IDispatch for objects a program calls through their vtables only, and the slots no program
// calls.
#pragma once

#include <ole2.h>

#include "messenger/messenger_api.h"
#include "world/common/com_object.h"

WORLD_INTERFACE_IDS(IMessenger, &IID_IMessenger, &IID_IDispatch);
WORLD_INTERFACE_IDS(IMessengerWindow, &IID_IMessengerWindow, &IID_IDispatch);
WORLD_INTERFACE_IDS(IMessengerConversationWnd, &IID_IMessengerConversationWnd, &IID_IMessengerWindow,
                    &IID_IDispatch);
WORLD_INTERFACE_IDS(IMessengerContacts, &IID_IMessengerContacts, &IID_IDispatch);
WORLD_INTERFACE_IDS(IMessengerContact, &IID_IMessengerContact, &IID_IDispatch);

namespace world::messenger {

// IDispatch with no type information and no late-bound members.
template <typename First, typename... Rest>
class VtableOnlyObject : public ComObject<First, Rest...> {
 public:
  STDMETHODIMP GetTypeInfoCount(UINT* pctinfo) override {
    if (!pctinfo) return E_INVALIDARG;
    *pctinfo = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) override {
    if (ppTInfo) *ppTInfo = nullptr;
    return DISP_E_BADINDEX;
  }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT cNames, LCID, DISPID* rgDispId) override {
    for (UINT i = 0; rgDispId && i < cNames; ++i) rgDispId[i] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
  }
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return DISP_E_MEMBERNOTFOUND;
  }
};

}  // namespace world::messenger

// The slots of Messenger's interfaces that the program never calls.
#define MESSENGER_RESERVED_SLOT(n) \
  STDMETHODIMP Reserved##n() override { return E_NOTIMPL; }

#define MESSENGER_RESERVED_SLOTS_OF_IMESSENGER \
  MESSENGER_RESERVED_SLOT(8)                   \
  MESSENGER_RESERVED_SLOT(9)                   \
  MESSENGER_RESERVED_SLOT(11)                  \
  MESSENGER_RESERVED_SLOT(12)                  \
  MESSENGER_RESERVED_SLOT(13)                  \
  MESSENGER_RESERVED_SLOT(14)                  \
  MESSENGER_RESERVED_SLOT(15)                  \
  MESSENGER_RESERVED_SLOT(16)                  \
  MESSENGER_RESERVED_SLOT(17)                  \
  MESSENGER_RESERVED_SLOT(18)                  \
  MESSENGER_RESERVED_SLOT(19)                  \
  MESSENGER_RESERVED_SLOT(20)                  \
  MESSENGER_RESERVED_SLOT(22)                  \
  MESSENGER_RESERVED_SLOT(24)                  \
  MESSENGER_RESERVED_SLOT(25)                  \
  MESSENGER_RESERVED_SLOT(27)                  \
  MESSENGER_RESERVED_SLOT(28)                  \
  MESSENGER_RESERVED_SLOT(29)

#define MESSENGER_RESERVED_SLOTS_OF_IMESSENGERWINDOW \
  MESSENGER_RESERVED_SLOT(9)                         \
  MESSENGER_RESERVED_SLOT(10)                        \
  MESSENGER_RESERVED_SLOT(11)                        \
  MESSENGER_RESERVED_SLOT(12)                        \
  MESSENGER_RESERVED_SLOT(13)                        \
  MESSENGER_RESERVED_SLOT(14)                        \
  MESSENGER_RESERVED_SLOT(15)                        \
  MESSENGER_RESERVED_SLOT(16)                        \
  MESSENGER_RESERVED_SLOT(17)                        \
  MESSENGER_RESERVED_SLOT(19)                        \
  MESSENGER_RESERVED_SLOT(20)
