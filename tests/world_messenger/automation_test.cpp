// Messenger's automation objects as a program sees them from its own thread: creation, the
// user's status, contacts, windows, reports of the program's requests, objects failing once
// Messenger is gone, and injected faults.
#include <sim/dialogs.h>

#include "client_fixture.h"

namespace world::messenger {
namespace {

const HRESULT kServerUnavailable = HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE);
const HRESULT kCallFailed = HRESULT_FROM_WIN32(RPC_S_CALL_FAILED);

// ---- Creation -----------------------------------------------------------------------------------------

TEST_F(AutomationTest, RootAnswersForItsInterfacesWithOneIdentity) {
  auto dispatch = As<IDispatch>(root.Get(), IID_IDispatch);
  auto container = As<IConnectionPointContainer>(root.Get(), IID_IConnectionPointContainer);
  EXPECT_TRUE(dispatch);
  EXPECT_TRUE(container);
  EXPECT_EQ(As<IUnknown>(container.Get(), IID_IUnknown), As<IUnknown>(root.Get(), IID_IUnknown));
  EXPECT_FALSE(As<IMessengerWindow>(root.Get(), IID_IMessengerWindow));
}

TEST_F(AutomationTest, CreationFailsAsForAServerThatDoesNotRun) {
  messenger.Quit();
  HRESULT hr = S_OK;
  EXPECT_FALSE(Create(&hr));
  EXPECT_EQ(hr, CO_E_SERVER_EXEC_FAILURE);
}

TEST_F(AutomationTest, CreationCanBeMadeToFail) {
  messenger.Fail("Create", E_ACCESSDENIED, 1);
  HRESULT hr = S_OK;
  EXPECT_FALSE(Create(&hr));
  EXPECT_EQ(hr, E_ACCESSDENIED);
  EXPECT_TRUE(Create());
}

// ---- The user's status ------------------------------------------------------------------------------------

TEST_F(AutomationTest, MyStatusFollowsSigningInAndOutAndAnyValueTheWorldSets) {
  LONG status = 0;
  EXPECT_EQ(On([&] { return root->get_MyStatus(&status); }), S_OK);
  EXPECT_EQ(status, MESSENGER_STATUS_ONLINE);
  messenger.SignOut();
  On([&] { return root->get_MyStatus(&status); });
  EXPECT_EQ(status, MESSENGER_STATUS_OFFLINE);
  messenger.SetStatus(0x100);
  On([&] { return root->get_MyStatus(&status); });
  EXPECT_EQ(status, 0x100);
  EXPECT_EQ(On([&] { return root->get_MyStatus(nullptr); }), E_POINTER);
}

// ---- Contacts
// ----------------------------------------------------------------------------------------------

TEST_F(AutomationTest, ContactListComesInMessengersOrderWithEachContactsDetails) {
  messenger.AddContact("zed@example.com", "Zed", 10);
  IDispatch* d = nullptr;
  ASSERT_EQ(On([&] { return root->get_MyContacts(&d); }), S_OK);
  auto contacts = As<IMessengerContacts>(d, IID_IMessengerContacts);
  d->Release();
  LONG count = 0;
  EXPECT_EQ(On([&] { return contacts->get_Count(&count); }), S_OK);
  EXPECT_EQ(count, 2);
  ASSERT_EQ(On([&] { return contacts->Item(1, &d); }), S_OK);
  auto zed = As<IMessengerContact>(d, IID_IMessengerContact);
  d->Release();
  BSTR name = nullptr, friendly = nullptr;
  LONG status = 0;
  On([&] { return zed->get_SigninName(&name); });
  On([&] { return zed->get_FriendlyName(&friendly); });
  On([&] { return zed->get_Status(&status); });
  EXPECT_EQ(ToUtf8(BstrText(name)), "zed@example.com");
  EXPECT_EQ(ToUtf8(BstrText(friendly)), "Zed");
  EXPECT_EQ(status, 10);
  SysFreeString(name);
  SysFreeString(friendly);
}

TEST_F(AutomationTest, ItemOutsideTheCollectionIsAnInvalidArgument) {
  IDispatch* d = nullptr;
  On([&] { return root->get_MyContacts(&d); });
  auto contacts = As<IMessengerContacts>(d, IID_IMessengerContacts);
  d->Release();
  d = reinterpret_cast<IDispatch*>(1);
  EXPECT_EQ(On([&] { return contacts->Item(1, &d); }), E_INVALIDARG);
  EXPECT_EQ(d, nullptr);
  EXPECT_EQ(On([&] { return contacts->Item(-1, &d); }), E_INVALIDARG);
}

TEST_F(AutomationTest, CollectionIsReadAfreshAtEveryCall) {
  IDispatch* d = nullptr;
  On([&] { return root->get_MyContacts(&d); });
  auto contacts = As<IMessengerContacts>(d, IID_IMessengerContacts);
  d->Release();
  messenger.AddContact("ann@example.com", "Ann", 2);
  messenger.AddContact("ANN@example.com", "Annie", 2);  // the same contact
  LONG count = 0;
  On([&] { return contacts->get_Count(&count); });
  EXPECT_EQ(count, 2);
}

// ---- Conversation windows ---------------------------------------------------------------------------------

TEST_F(AutomationTest, InstantMessageGivesTheOneToOneWindowWhichProxiesShareByHandle) {
  auto first = OpenWith(u"bob@example.com");
  auto second = OpenWith(u"BOB@example.com");
  ASSERT_TRUE(first && second);
  EXPECT_NE(first.Get(), second.Get());
  LONG h = HwndOf(first.Get());
  EXPECT_EQ(h, HwndOf(second.Get()));
  EXPECT_EQ(reinterpret_cast<HWND>(static_cast<LONG_PTR>(h)), Bob().hwnd);
  EXPECT_EQ(GetForegroundWindow(), Bob().hwnd);  // opened for the user: in front
  EXPECT_TRUE(transcript.Has("messenger InstantMessage(\"bob@example.com\")"));
  EXPECT_TRUE(transcript.Has("messenger InstantMessage(\"BOB@example.com\")"));
  EXPECT_EQ(messenger.Conversations().size(), 1u);
}

TEST_F(AutomationTest, MediaWizardShowsOneSetupWizardInFront) {
  auto wizards = [] {
    int n = 0;
    for (const sim::DialogInfo& d : sim::OpenDialogs()) n += d.title == u"Audio and Video Setup";
    return n;
  };
  EXPECT_EQ(On([&] { return root->MediaWizard(0); }), S_OK);
  EXPECT_EQ(On([&] { return root->MediaWizard(0); }), S_OK);
  EXPECT_EQ(wizards(), 1);
  auto wizard = sim::FindDialog(u"Audio and Video Setup");
  ASSERT_TRUE(wizard);
  EXPECT_EQ(GetForegroundWindow(), wizard->hwnd);
  EXPECT_TRUE(messenger.WizardOpened());
}

TEST_F(AutomationTest, StartVoiceOpensTheWindowWithAnOutgoingInvitation) {
  auto window = OpenWith(u"bob@example.com", true);
  EXPECT_EQ(Bob().voice, VoiceState::kOutgoingPending);
  EXPECT_EQ(
      History(window.Get()),
      "You are inviting Bob to start a voice conversation. Please wait for a response or Cancel (Alt+Q) the "
      "pending invitation.");
  EXPECT_TRUE(transcript.Has("messenger StartVoice(\"bob@example.com\")"));
  messenger.RemoteAnswer("bob@example.com");
  EXPECT_EQ(Bob().voice, VoiceState::kTalking);
}

TEST_F(AutomationTest, ContactMustBeASigninNameAndTheUserSignedIn) {
  VARIANT number;
  VariantInit(&number);
  number.vt = VT_I4;
  IDispatch* d = nullptr;
  EXPECT_EQ(On([&] { return root->InstantMessage(number, &d); }), E_INVALIDARG);
  BstrArg empty(u"");
  EXPECT_EQ(On([&] { return root->StartVoice(empty.v, &d); }), E_INVALIDARG);
  messenger.SignOut();
  BstrArg bob(u"bob@example.com");
  EXPECT_EQ(On([&] { return root->InstantMessage(bob.v, &d); }), E_FAIL);
  EXPECT_TRUE(messenger.Conversations().empty());
}

TEST_F(AutomationTest, ConversationContactsAreTheOtherParticipants) {
  auto window = OpenWith(u"bob@example.com");
  messenger.Join("bob@example.com", "ann@example.com");
  IDispatch* d = nullptr;
  ASSERT_EQ(On([&] { return window->get_Contacts(&d); }), S_OK);
  auto contacts = As<IMessengerContacts>(d, IID_IMessengerContacts);
  d->Release();
  LONG count = 0;
  On([&] { return contacts->get_Count(&count); });
  EXPECT_EQ(count, 2);
  On([&] { return contacts->Item(1, &d); });
  auto ann = As<IMessengerContact>(d, IID_IMessengerContact);
  d->Release();
  BSTR friendly = nullptr;
  On([&] { return ann->get_FriendlyName(&friendly); });
  EXPECT_EQ(ToUtf8(BstrText(friendly)), "ann@example.com");  // not on the list: the sign-in name
  SysFreeString(friendly);
}

TEST_F(AutomationTest, CallsOnAClosedWindowFail) {
  auto window = OpenWith(u"bob@example.com");
  messenger.UserCloses("bob@example.com");
  LONG h = 0;
  BSTR b = nullptr;
  IDispatch* d = nullptr;
  EXPECT_EQ(On([&] { return window->get_HWND(&h); }), E_FAIL);
  EXPECT_EQ(On([&] { return window->get_History(&b); }), E_FAIL);
  EXPECT_EQ(On([&] { return window->get_Contacts(&d); }), E_FAIL);
  EXPECT_EQ(On([&] { return window->Show(); }), E_FAIL);
  EXPECT_EQ(On([&] { return window->Close(); }), E_FAIL);
}

TEST_F(AutomationTest, CloseWithoutACallClosesAtOnceAndIsReported) {
  auto window = OpenWith(u"bob@example.com");
  HWND hwnd = Bob().hwnd;
  EXPECT_EQ(On([&] { return window->Close(); }), S_OK);
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_TRUE(transcript.Has("messenger Close(\"Bob - Dialog\")"));
}

TEST_F(AutomationTest, ShowBringsAMinimisedWindowBackToTheFront) {
  auto window = OpenWith(u"bob@example.com");
  messenger.MinimizeWindow("bob@example.com");
  EXPECT_EQ(On([&] { return window->Show(); }), S_OK);
  EXPECT_FALSE(Bob().minimized);
  EXPECT_EQ(GetForegroundWindow(), Bob().hwnd);
}

// ---- The main window and the wizard ---------------------------------------------------------------------

TEST_F(AutomationTest, MainWindowShowsWhenAskedAndIsReported) {
  IDispatch* d = nullptr;
  ASSERT_EQ(On([&] { return root->get_Window(&d); }), S_OK);
  auto main = As<IMessengerWindow>(d, IID_IMessengerWindow);
  d->Release();
  EXPECT_FALSE(As<IMessengerConversationWnd>(main.Get(), IID_IMessengerConversationWnd));
  EXPECT_EQ(reinterpret_cast<HWND>(static_cast<LONG_PTR>(HwndOf(main.Get()))), messenger.MainWindow());
  EXPECT_FALSE(IsWindowVisible(messenger.MainWindow()));
  EXPECT_EQ(On([&] { return main->Show(); }), S_OK);
  EXPECT_TRUE(IsWindowVisible(messenger.MainWindow()));
  EXPECT_TRUE(transcript.Has("messenger Show()"));
}

TEST_F(AutomationTest, MediaWizardIsRecordedAndReported) {
  EXPECT_FALSE(messenger.WizardOpened());
  EXPECT_EQ(On([&] { return root->MediaWizard(0); }), S_OK);
  EXPECT_TRUE(messenger.WizardOpened());
  EXPECT_EQ(transcript.lines, std::vector<std::string>{"messenger MediaWizard(0)"});
}

// ---- Messenger going away --------------------------------------------------------------------------------

TEST_F(AutomationTest, ObjectsFailAsAVanishedServersOnceMessengerQuits) {
  auto window = OpenWith(u"bob@example.com");
  messenger.Quit();
  LONG value = 0;
  EXPECT_EQ(On([&] { return root->get_MyStatus(&value); }), kServerUnavailable);
  EXPECT_EQ(On([&] { return window->get_HWND(&value); }), kServerUnavailable);
  // A new Messenger is a new world of objects: the old ones stay dead.
  ASSERT_TRUE(messenger.Start());
  EXPECT_EQ(On([&] { return root->get_MyStatus(&value); }), kServerUnavailable);
  auto fresh = Create();
  ASSERT_TRUE(fresh);
  EXPECT_EQ(On([&] { return fresh->get_MyStatus(&value); }), S_OK);
}

// As with a server process that dies: the call in flight fails with RPC_S_CALL_FAILED, every
// later one with RPC_S_SERVER_UNAVAILABLE.
TEST_F(AutomationTest, MessengerVanishingInTheMiddleOfACallFailsThatCall) {
  auto window = OpenWith(u"bob@example.com");
  HWND hwnd = Bob().hwnd;
  messenger.VanishDuring("get_History");
  BSTR b = reinterpret_cast<BSTR>(1);
  EXPECT_EQ(On([&] { return window->get_History(&b); }), kCallFailed);
  EXPECT_EQ(b, nullptr);
  EXPECT_FALSE(messenger.IsRunning());
  EXPECT_FALSE(IsWindow(hwnd));
  LONG status = 0;
  EXPECT_EQ(On([&] { return root->get_MyStatus(&status); }), kServerUnavailable);
  EXPECT_EQ(On([&] { return window->get_History(&b); }), kServerUnavailable);
  ASSERT_TRUE(messenger.Start());  // and it can come back
}

// ---- Injected faults -------------------------------------------------------------------------------------

TEST_F(AutomationTest, FaultFailsTheNamedMethodTheGivenNumberOfTimes) {
  messenger.Fail("get_MyStatus", E_OUTOFMEMORY, 2);
  LONG status = 0;
  EXPECT_EQ(On([&] { return root->get_MyStatus(&status); }), E_OUTOFMEMORY);
  EXPECT_EQ(On([&] { return root->MediaWizard(0); }), S_OK);  // other methods are unaffected
  EXPECT_EQ(On([&] { return root->get_MyStatus(&status); }), E_OUTOFMEMORY);
  EXPECT_EQ(On([&] { return root->get_MyStatus(&status); }), S_OK);
}

TEST_F(AutomationTest, LastingFaultFailsUntilHealedAndChangesNothing) {
  messenger.Fail("InstantMessage", E_FAIL, FaultPlan::kUntilHealed);
  BstrArg bob(u"bob@example.com");
  IDispatch* d = nullptr;
  for (int i = 0; i < 3; ++i) EXPECT_EQ(On([&] { return root->InstantMessage(bob.v, &d); }), E_FAIL);
  EXPECT_TRUE(messenger.Conversations().empty());
  EXPECT_TRUE(transcript.lines.empty());
  messenger.Heal();
  EXPECT_EQ(On([&] { return root->InstantMessage(bob.v, &d); }), S_OK);
  d->Release();
}

TEST_F(AutomationTest, NullOutPointersAreRefused) {
  EXPECT_EQ(On([&] { return root->get_Window(nullptr); }), E_POINTER);
  EXPECT_EQ(On([&] { return root->get_MyContacts(nullptr); }), E_POINTER);
  auto container = As<IConnectionPointContainer>(root.Get(), IID_IConnectionPointContainer);
  EXPECT_EQ(On([&] { return container->FindConnectionPoint(DIID_DMessengerEvents, nullptr); }), E_POINTER);
  auto window = OpenWith(u"bob@example.com");
  EXPECT_EQ(On([&] { return window->get_History(nullptr); }), E_POINTER);
  EXPECT_EQ(On([&] { return window->get_HWND(nullptr); }), E_POINTER);
}

}  // namespace
}  // namespace world::messenger
