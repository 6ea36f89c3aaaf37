// Messenger's automation interfaces as the program calls them. Every interface is declared
// with all of its slots up to the last one used, in order, so the layout matches the objects
// Messenger hands out; the slots the program never calls are named ReservedN after their slot.
// Slots 0 to 6 are IUnknown's and IDispatch's.
#pragma once

#include <ole2.h>

// {B69003B3-C55E-4b48-836C-BC5946FC3B28}
#define TELLBUD_CLSID_MESSENGER_TEXT TEXT("{B69003B3-C55E-4b48-836C-BC5946FC3B28}")
// {D50C3186-0F89-48f8-B204-3604629DEE10}
#define TELLBUD_IID_MESSENGER_TEXT TEXT("{D50C3186-0F89-48f8-B204-3604629DEE10}")
// {C9A6A6B6-9BC1-43a5-B06B-E58874EEBC96}
#define TELLBUD_IID_MESSENGER_EVENTS_TEXT TEXT("{C9A6A6B6-9BC1-43a5-B06B-E58874EEBC96}")

static const CLSID CLSID_Messenger = {0xB69003B3, 0xC55E, 0x4b48, {0x83, 0x6C, 0xBC, 0x59, 0x46, 0xFC, 0x3B, 0x28}};
static const IID IID_IMessenger = {0xD50C3186, 0x0F89, 0x48f8, {0xB2, 0x04, 0x36, 0x04, 0x62, 0x9D, 0xEE, 0x10}};
static const IID DIID_DMessengerEvents = {
    0xC9A6A6B6, 0x9BC1, 0x43a5, {0xB0, 0x6B, 0xE5, 0x88, 0x74, 0xEE, 0xBC, 0x96}};
static const IID IID_IMessengerWindow = {
    0xD6B0E4C8, 0xFAD6, 0x4885, {0xB2, 0x71, 0x0D, 0xC5, 0xA5, 0x84, 0xAD, 0xF8}};
static const IID IID_IMessengerConversationWnd = {
    0xD6B0E4C9, 0xFAD6, 0x4885, {0xB2, 0x71, 0x0D, 0xC5, 0xA5, 0x84, 0xAD, 0xF8}};
static const IID IID_IMessengerContacts = {
    0xE7479A0D, 0xBB19, 0x44A5, {0x96, 0x8F, 0x6F, 0x41, 0xD9, 0x3E, 0xE0, 0xBC}};
static const IID IID_IMessengerContact = {
    0xE7479A0F, 0xBB19, 0x44A5, {0x96, 0x8F, 0x6F, 0x41, 0xD9, 0x3E, 0xE0, 0xBC}};

// Dispatch ids of the events the program handles (DMessengerEvents).
enum MessengerEventId : DISPID {
  DISPID_MUAE_ONSIGNIN = 1024,
  DISPID_MUAE_ONSIGNOUT = 1025,
  DISPID_MUAE_ONCONTACTADDED = 1026,
  DISPID_MUAE_ONCONTACTREMOVED = 1027,
  DISPID_MUAE_ONCONTACTSTATUSCHANGE = 1030,
  DISPID_MUAE_ONIMWINDOWCREATED = 1041,
  DISPID_MUAE_ONIMWINDOWDESTROYED = 1042,
  DISPID_MUAE_ONIMWINDOWCONTACTADDED = 1043,
  DISPID_MUAE_ONIMWINDOWCONTACTREMOVED = 1044,
};

// The user's status values the program distinguishes (get_MyStatus).
enum MessengerStatus : LONG {
  MESSENGER_STATUS_OFFLINE = 1,
  MESSENGER_STATUS_ONLINE = 2,
};

#define TELLBUD_RESERVED_SLOT(n) virtual HRESULT STDMETHODCALLTYPE Reserved##n() = 0

struct IMessengerWindow : public IDispatch {
  virtual HRESULT STDMETHODCALLTYPE Close() = 0;                    // 7
  virtual HRESULT STDMETHODCALLTYPE get_HWND(LONG* phWnd) = 0;      // 8
  TELLBUD_RESERVED_SLOT(9);
  TELLBUD_RESERVED_SLOT(10);
  TELLBUD_RESERVED_SLOT(11);
  TELLBUD_RESERVED_SLOT(12);
  TELLBUD_RESERVED_SLOT(13);
  TELLBUD_RESERVED_SLOT(14);
  TELLBUD_RESERVED_SLOT(15);
  TELLBUD_RESERVED_SLOT(16);
  TELLBUD_RESERVED_SLOT(17);
  virtual HRESULT STDMETHODCALLTYPE Show() = 0;  // 18
  TELLBUD_RESERVED_SLOT(19);
  TELLBUD_RESERVED_SLOT(20);
};

struct IMessengerConversationWnd : public IMessengerWindow {
  virtual HRESULT STDMETHODCALLTYPE get_Contacts(IDispatch** ppContacts) = 0;  // 21
  virtual HRESULT STDMETHODCALLTYPE get_History(BSTR* pbstrHistory) = 0;      // 22
};

struct IMessengerContacts : public IDispatch {
  virtual HRESULT STDMETHODCALLTYPE get_Count(LONG* pcContacts) = 0;              // 7
  virtual HRESULT STDMETHODCALLTYPE Item(LONG lIndex, IDispatch** ppContact) = 0;  // 8
};

struct IMessengerContact : public IDispatch {
  virtual HRESULT STDMETHODCALLTYPE get_FriendlyName(BSTR* pbstrName) = 0;  // 7
  virtual HRESULT STDMETHODCALLTYPE get_Status(LONG* plStatus) = 0;         // 8
  virtual HRESULT STDMETHODCALLTYPE get_SigninName(BSTR* pbstrName) = 0;    // 9
};

struct IMessenger : public IDispatch {
  virtual HRESULT STDMETHODCALLTYPE get_Window(IDispatch** ppWindow) = 0;  // 7
  TELLBUD_RESERVED_SLOT(8);
  TELLBUD_RESERVED_SLOT(9);
  virtual HRESULT STDMETHODCALLTYPE StartVoice(VARIANT vContact, IDispatch** ppWindow) = 0;  // 10
  TELLBUD_RESERVED_SLOT(11);
  TELLBUD_RESERVED_SLOT(12);
  TELLBUD_RESERVED_SLOT(13);
  TELLBUD_RESERVED_SLOT(14);
  TELLBUD_RESERVED_SLOT(15);
  TELLBUD_RESERVED_SLOT(16);
  TELLBUD_RESERVED_SLOT(17);
  TELLBUD_RESERVED_SLOT(18);
  TELLBUD_RESERVED_SLOT(19);
  TELLBUD_RESERVED_SLOT(20);
  virtual HRESULT STDMETHODCALLTYPE InstantMessage(VARIANT vContact, IDispatch** ppWindow) = 0;  // 21
  TELLBUD_RESERVED_SLOT(22);
  virtual HRESULT STDMETHODCALLTYPE MediaWizard(LONG hwndParent) = 0;  // 23
  TELLBUD_RESERVED_SLOT(24);
  TELLBUD_RESERVED_SLOT(25);
  virtual HRESULT STDMETHODCALLTYPE get_MyContacts(IDispatch** ppContacts) = 0;  // 26
  TELLBUD_RESERVED_SLOT(27);
  TELLBUD_RESERVED_SLOT(28);
  TELLBUD_RESERVED_SLOT(29);
  virtual HRESULT STDMETHODCALLTYPE get_MyStatus(LONG* plStatus) = 0;  // 30
};

#undef TELLBUD_RESERVED_SLOT
