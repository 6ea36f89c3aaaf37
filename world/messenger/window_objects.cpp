// Messenger's window objects: the main window and the conversation windows.
#include "world/messenger/proxy_base.h"

namespace world::messenger {

namespace {

LONG HandleValue(HWND hwnd) { return static_cast<LONG>(reinterpret_cast<LONG_PTR>(hwnd)); }

// The window interface's slots that the program never calls, for both kinds of window.
template <typename Interface>
class WindowProxy : public DispatchProxy<Interface> {
 public:
  MESSENGER_RESERVED_SLOTS_OF_IMESSENGERWINDOW

 protected:
  using DispatchProxy<Interface>::DispatchProxy;
};

class MainWindowObject final : public WindowProxy<IMessengerWindow> {
 public:
  explicit MainWindowObject(Link link) : WindowProxy(std::move(link)) {}

  STDMETHODIMP Close() override {
    return Call("Close", [](MessengerServer& s) {
      s.Report("messenger", "Close(" + Quote("Windows Live Messenger") + ")");
      ShowWindow(s.main_window(), SW_HIDE);
      return S_OK;
    });
  }
  STDMETHODIMP get_HWND(LONG* phWnd) override {
    if (!phWnd) return E_POINTER;
    return Call("get_HWND", [&](MessengerServer& s) {
      *phWnd = HandleValue(s.main_window());
      return S_OK;
    });
  }
  STDMETHODIMP Show() override {
    return Call("Show", [](MessengerServer& s) {
      s.Report("messenger", "Show()");
      s.ShowMain();
      return S_OK;
    });
  }
};

// A conversation window, named by its conversation. Once the window has closed its calls fail
// with E_FAIL; only the object of the window-closed event still tells the handle the window had,
// so that a program can tell which of its windows went.
class ConversationObject final : public WindowProxy<IMessengerConversationWnd> {
 public:
  ConversationObject(Link link, int conversation, HWND hwnd, bool after_close)
      : WindowProxy(std::move(link)), conversation_(conversation), hwnd_(hwnd), after_close_(after_close) {}

  STDMETHODIMP Close() override {
    return OnOpenWindow("Close", [&](MessengerServer& s, const Conversation& c) {
      s.Report("messenger", "Close(" + Quote(ToUtf8(c.title)) + ")");
      s.RequestClose(conversation_);
      return S_OK;
    });
  }
  STDMETHODIMP get_HWND(LONG* phWnd) override {
    if (!phWnd) return E_POINTER;
    return Call("get_HWND", [&](MessengerServer& s) {
      HWND hwnd = s.WindowOf(conversation_);
      if (!hwnd && after_close_) hwnd = hwnd_;
      if (!hwnd) return E_FAIL;
      *phWnd = HandleValue(hwnd);
      return S_OK;
    });
  }
  STDMETHODIMP Show() override {
    return OnOpenWindow("Show", [&](MessengerServer& s, const Conversation& c) {
      s.Report("messenger", "Show(" + Quote(ToUtf8(c.title)) + ")");
      s.ShowConversation(conversation_);
      return S_OK;
    });
  }
  STDMETHODIMP get_Contacts(IDispatch** ppContacts) override {
    if (!ppContacts) return E_POINTER;
    *ppContacts = nullptr;
    HRESULT hr = OnOpenWindow("get_Contacts", [](MessengerServer&, const Conversation&) { return S_OK; });
    return SUCCEEDED(hr) ? ReturnDispatch(MakeContactsObject(link_, conversation_), ppContacts) : hr;
  }
  STDMETHODIMP get_History(BSTR* pbstrHistory) override {
    if (!pbstrHistory) return E_POINTER;
    *pbstrHistory = nullptr;
    return OnOpenWindow("get_History", [&](MessengerServer&, const Conversation& c) {
      return ReturnString(c.history, pbstrHistory);
    });
  }

 private:
  HRESULT OnOpenWindow(const char* op,
                       const std::function<HRESULT(MessengerServer&, const Conversation&)>& body) {
    return Call(op, [&](MessengerServer& s) {
      const Conversation* c = s.model().FindConversation(conversation_);
      return c && s.WindowOf(conversation_) ? body(s, *c) : E_FAIL;
    });
  }

  int conversation_;
  HWND hwnd_;
  bool after_close_;
};

}  // namespace

ComPtr<IMessengerWindow> MakeMainWindowObject(const Link& link) {
  return ComPtr<IMessengerWindow>::Adopt(MakeCom<MainWindowObject>(link).Detach());
}

ComPtr<IMessengerConversationWnd> MakeConversationObject(const Link& link, int conversation, HWND hwnd,
                                                         bool after_close) {
  return ComPtr<IMessengerConversationWnd>::Adopt(
      MakeCom<ConversationObject>(link, conversation, hwnd, after_close).Detach());
}

}  // namespace world::messenger
