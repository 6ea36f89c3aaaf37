// Messenger's contact objects: a contact, and a collection of contacts (the contact list or a
// conversation's other participants), read afresh at every call.
#include "world/messenger/proxy_base.h"

namespace world::messenger {

namespace {

class ContactObject final : public DispatchProxy<IMessengerContact> {
 public:
  ContactObject(Link link, Text signin) : DispatchProxy(std::move(link)), signin_(std::move(signin)) {}

  STDMETHODIMP get_FriendlyName(BSTR* pbstrName) override {
    if (!pbstrName) return E_POINTER;
    *pbstrName = nullptr;
    return Call("get_FriendlyName",
                [&](MessengerServer& s) { return ReturnString(s.model().DisplayName(signin_), pbstrName); });
  }
  // A contact who is not (or no longer) on the list shows as offline.
  STDMETHODIMP get_Status(LONG* plStatus) override {
    if (!plStatus) return E_POINTER;
    return Call("get_Status", [&](MessengerServer& s) {
      const Contact* c = s.model().FindContact(signin_);
      *plStatus = c ? c->status : kStatusOffline;
      return S_OK;
    });
  }
  STDMETHODIMP get_SigninName(BSTR* pbstrName) override {
    if (!pbstrName) return E_POINTER;
    *pbstrName = nullptr;
    return Call("get_SigninName", [&](MessengerServer& s) {
      const Contact* c = s.model().FindContact(signin_);
      return ReturnString(c ? c->signin : signin_, pbstrName);
    });
  }

 private:
  Text signin_;
};

class ContactsObject final : public DispatchProxy<IMessengerContacts> {
 public:
  ContactsObject(Link link, int conversation) : DispatchProxy(std::move(link)), conversation_(conversation) {}

  STDMETHODIMP get_Count(LONG* pcContacts) override {
    if (!pcContacts) return E_POINTER;
    return Call("get_Count", [&](MessengerServer& s) {
      size_t count = 0;
      if (!Count(s, &count)) return E_FAIL;
      *pcContacts = static_cast<LONG>(count);
      return S_OK;
    });
  }
  STDMETHODIMP Item(LONG lIndex, IDispatch** ppContact) override {
    if (!ppContact) return E_POINTER;
    *ppContact = nullptr;
    Text name;
    HRESULT hr = Call("Item", [&](MessengerServer& s) {
      size_t count = 0;
      if (!Count(s, &count)) return E_FAIL;
      if (lIndex < 0 || static_cast<size_t>(lIndex) >= count) return E_INVALIDARG;
      name = NameAt(s, static_cast<size_t>(lIndex));
      return S_OK;
    });
    return SUCCEEDED(hr) ? ReturnDispatch(MakeContactObject(link_, name), ppContact) : hr;
  }

 private:
  // The number of sign-in names in the collection (Messenger's contacts, or the conversation's
  // participants); false when its conversation has closed. Nothing is copied: a program walks
  // long collections item by item.
  bool Count(MessengerServer& s, size_t* count) const {
    if (conversation_ == 0) {
      *count = s.model().Contacts().size();
      return true;
    }
    const Conversation* c = s.model().FindConversation(conversation_);
    if (!c) return false;
    *count = c->participants.size();
    return true;
  }
  // The name at `index`, which Count has just vouched for.
  Text NameAt(MessengerServer& s, size_t index) const {
    if (conversation_ == 0) return s.model().Contacts()[index].signin;
    return s.model().FindConversation(conversation_)->participants[index];
  }

  int conversation_;
};

}  // namespace

ComPtr<IMessengerContacts> MakeContactsObject(const Link& link, int conversation) {
  return ComPtr<IMessengerContacts>::Adopt(MakeCom<ContactsObject>(link, conversation).Detach());
}

ComPtr<IMessengerContact> MakeContactObject(const Link& link, const Text& signin) {
  return ComPtr<IMessengerContact>::Adopt(MakeCom<ContactObject>(link, signin).Detach());
}

}  // namespace world::messenger
