// The objects Messenger hands to a program are light proxies: each names a model entity (the
// root, the main window, a conversation by its id, a contact by its sign-in name, a collection)
// and runs every method on Messenger's thread, as an out-of-process call does. A call that
// finds Messenger gone fails with HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE) (0x800706BA); one
// that loses Messenger while being served with HRESULT_FROM_WIN32(RPC_S_CALL_FAILED)
// (0x800706BE), as calls to an out-of-process server that dies do.
#pragma once

#include <ole2.h>

#include <functional>
#include <memory>

#include "world/messenger/link.h"
#include "world/messenger/vtable_objects.h"

namespace world::messenger {

using Link = std::shared_ptr<ServerLink>;

inline HRESULT ServerUnavailable() { return HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE); }
inline HRESULT CallFailed() { return HRESULT_FROM_WIN32(RPC_S_CALL_FAILED); }

// Runs `body` on Messenger's thread for the named operation (which the world may make fail or
// vanish) and waits for its result.
HRESULT CallMessenger(const Link& link, const char* op, const std::function<HRESULT(MessengerServer&)>& body);

// A copy of `text` as a BSTR for an out-parameter.
HRESULT ReturnString(const Text& text, BSTR* out);

// Hands one reference of `object` (any interface reaching IDispatch) to `*out`.
template <typename T>
HRESULT ReturnDispatch(const ComPtr<T>& object, IDispatch** out) {
  return object->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(out));
}

// The proxies' base: a program calls their methods through their interface only.
template <typename First, typename... Rest>
class DispatchProxy : public VtableOnlyObject<First, Rest...> {
 protected:
  explicit DispatchProxy(Link link) : link_(std::move(link)) {}
  HRESULT Call(const char* op, const std::function<HRESULT(MessengerServer&)>& body) {
    return CallMessenger(link_, op, body);
  }
  Link link_;
};

// Creates Messenger's root object for CoCreateInstance: an activation call to the running
// Messenger (the operation "Create"), then the object. CO_E_SERVER_EXEC_FAILURE when Messenger
// does not run.
HRESULT CreateMessengerInstance(const Link& link, REFIID riid, void** ppv);

// Proxy factories, for methods and events.
ComPtr<IMessenger> MakeMessengerObject(const Link& link);
ComPtr<IMessengerWindow> MakeMainWindowObject(const Link& link);
// `hwnd` is the window's handle when the object is made; `after_close` makes the object keep
// answering get_HWND with it once the window has closed (the window of a window-closed event).
ComPtr<IMessengerConversationWnd> MakeConversationObject(const Link& link, int conversation, HWND hwnd,
                                                         bool after_close);
// The contact list (conversation 0) or a conversation's other participants.
ComPtr<IMessengerContacts> MakeContactsObject(const Link& link, int conversation);
ComPtr<IMessengerContact> MakeContactObject(const Link& link, const Text& signin);

}  // namespace world::messenger
