#include "world/messenger/server.h"

#include <algorithm>

#include "world/messenger/dialog_template.h"

namespace world::messenger {

namespace {

const WCHAR kMainClass[] = TEXT("MessengerMainWindow");
const WCHAR kConversationClass[] = TEXT("IMWindowClass");
const WCHAR kMessengerTitle[] = TEXT("Windows Live Messenger");

// The confirmation's buttons; Escape and the close box (IDCANCEL) keep the call too.
constexpr WORD kEndCallButton = IDYES;
constexpr WORD kKeepCallButton = IDNO;
constexpr WORD kFirstOtherControl = 100;

bool Register(const WCHAR* name, WNDPROC proc) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = name;
  return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

MessengerServer::MessengerServer(MessengerState& state, EventOutlet& events, std::function<void()> vanish)
    : state_(state), events_(events), vanish_(std::move(vanish)) {}

MessengerServer::~MessengerServer() {
  // Messenger is going away: its windows go with its process, silently, and its conversations
  // with them; nothing more is told.
  state_.model.SetListener(nullptr);
  state_.model.DropConversations();
}

bool MessengerServer::Create() {
  if (!Register(kMainClass, &MainProc) || !Register(kConversationClass, &ConversationProc)) return false;
  calls_ = std::make_unique<CallWindow>();
  if (!calls_->Valid()) return false;
  main_ = CreateWindowExW(0, kMainClass, kMessengerTitle, WS_OVERLAPPEDWINDOW, 60, 60, 320, 600, nullptr,
                          nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!main_) return false;
  SetWindowLongPtrW(main_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  state_.model.SetListener(this);
  return true;
}

void MessengerServer::Run() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    // A dispatched click may close a dialog, so go through a copy of the list.
    std::vector<HWND> open;
    for (const DialogRecord& d : dialogs_) open.push_back(d.hwnd);
    bool handled = false;
    for (HWND dialog : open) {
      if (IsWindow(dialog) && IsDialogMessageW(dialog, &msg)) {
        handled = true;
        break;
      }
    }
    if (handled) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void MessengerServer::Quit() { PostQuitMessage(0); }

void MessengerServer::Report(const std::string& source, const std::string& text) {
  if (state_.reporter) state_.reporter->Report(source, text);
}

// ---- Serving calls -------------------------------------------------------------------------------

HRESULT MessengerServer::Serve(const char* op, const std::function<HRESULT()>& body) {
  if (state_.faults.TakeVanish(op)) vanish_();
  if (auto hr = state_.faults.Take(op)) return *hr;
  return body();
}

HWND MessengerServer::WindowOf(int conversation) const {
  auto it = windows_.find(conversation);
  return it == windows_.end() ? nullptr : it->second;
}

int MessengerServer::ConversationOf(HWND hwnd) const {
  for (const auto& [id, h] : windows_)
    if (h == hwnd) return id;
  return 0;
}

int MessengerServer::OpenForUser(const Text& signin, bool invite) {
  int id = state_.model.OpenOneToOne(signin);
  if (!id) return 0;
  if (invite) state_.model.UserInvites(id);
  ShowConversation(id);
  return id;
}

int MessengerServer::OpenForContact(const Text& signin) {
  int id = state_.model.OpenOneToOne(signin);
  HWND hwnd = WindowOf(id);
  if (hwnd && !IsWindowVisible(hwnd)) ShowWindow(hwnd, SW_SHOWNOACTIVATE);
  return id;
}

void MessengerServer::ShowMain() {
  ShowWindow(main_, IsIconic(main_) ? SW_RESTORE : SW_SHOW);
  SetForegroundWindow(main_);
}

bool MessengerServer::ShowConversation(int conversation) {
  HWND hwnd = WindowOf(conversation);
  if (!hwnd) return false;
  ShowWindow(hwnd, IsIconic(hwnd) ? SW_RESTORE : SW_SHOW);
  SetForegroundWindow(hwnd);
  return true;
}

bool MessengerServer::RequestClose(int conversation) {
  const Conversation* c = state_.model.FindConversation(conversation);
  if (!c) return false;
  if (c->voice == VoiceState::kTalking) {
    ShowConfirmation(conversation);
    return true;
  }
  return state_.model.CloseConversation(conversation);
}

// ---- Dialogs --------------------------------------------------------------------------------------

HWND MessengerServer::CreateDialogFromItems(const Text& title, HWND owner,
                                            const std::vector<DialogItem>& items) {
  short height = static_cast<short>(40 + 16 * static_cast<short>(items.size()));
  std::vector<WORD> tmpl =
      BuildDialogTemplate(title, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 220, height, items);
  HWND dialog =
      CreateDialogIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(tmpl.data()),
                                 owner, &DialogProc, reinterpret_cast<LPARAM>(this));
  if (!dialog) return nullptr;
  ShowWindow(dialog, SW_SHOW);
  SetForegroundWindow(dialog);
  return dialog;
}

void MessengerServer::ShowConfirmation(int conversation) {
  for (const DialogRecord& d : dialogs_)
    if (d.confirmation && d.conversation == conversation) {
      SetForegroundWindow(d.hwnd);
      return;
    }
  const Phrasebook& book = PhrasebookFor(state_.model.language());
  std::vector<DialogItem> items = {
      {TEXT("Button"), book.confirm_end, kEndCallButton, WS_TABSTOP | BS_PUSHBUTTON, 60, 40, 50, 14},
      {TEXT("Button"), book.confirm_keep, kKeepCallButton, WS_TABSTOP | BS_DEFPUSHBUTTON, 116, 40, 50, 14},
      {TEXT("Static"), book.confirm_question, 0xFFFF, SS_LEFT, 8, 8, 204, 24},
  };
  HWND dialog = CreateDialogFromItems(kMessengerTitle, WindowOf(conversation), items);
  if (!dialog) return;
  dialogs_.push_back(DialogRecord{
      dialog, true, conversation, kMessengerTitle, {TEXT("Button"), TEXT("Button"), TEXT("Static")}});
}

HWND MessengerServer::ShowWizard() {
  static const Text kTitle = TEXT("Audio and Video Setup");
  for (const DialogRecord& d : dialogs_) {
    if (!d.confirmation && d.title == kTitle && IsWindow(d.hwnd)) {
      SetForegroundWindow(d.hwnd);
      return d.hwnd;
    }
  }
  HWND wizard = ShowOtherDialog(kTitle, {TEXT("Button"), TEXT("Button")});
  if (wizard) SetForegroundWindow(wizard);
  return wizard;
}

HWND MessengerServer::ShowOtherDialog(const Text& title, const std::vector<Text>& child_classes) {
  std::vector<DialogItem> items;
  short y = 8;
  WORD id = kFirstOtherControl;
  for (const Text& cls : child_classes) {
    items.push_back(DialogItem{cls, cls, id++, WS_TABSTOP, 8, y, 120, 14});
    y = static_cast<short>(y + 16);
  }
  HWND dialog = CreateDialogFromItems(title, nullptr, items);
  if (dialog) dialogs_.push_back(DialogRecord{dialog, false, 0, title, child_classes});
  return dialog;
}

void MessengerServer::ForgetDialog(HWND dialog) {
  dialogs_.erase(std::remove_if(dialogs_.begin(), dialogs_.end(),
                                [&](const DialogRecord& d) { return d.hwnd == dialog; }),
                 dialogs_.end());
}

void MessengerServer::OnDialogCommand(HWND dialog, WORD id) {
  auto it =
      std::find_if(dialogs_.begin(), dialogs_.end(), [&](const DialogRecord& d) { return d.hwnd == dialog; });
  if (it == dialogs_.end()) return;
  DialogRecord record = *it;
  if (!record.confirmation) {
    // The world's dialogs close on any of their buttons.
    if (id == IDCANCEL || id >= kFirstOtherControl) DestroyWindow(dialog);
    return;
  }
  if (id == kEndCallButton) {
    DestroyWindow(dialog);
    state_.model.UserHangsUp(record.conversation);
    state_.model.CloseConversation(record.conversation);
  } else if (id == kKeepCallButton || id == IDCANCEL) {
    DestroyWindow(dialog);
  }
}

INT_PTR CALLBACK MessengerServer::DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, lp);
      return TRUE;
    case WM_COMMAND:
      if (MessengerServer* self = From(hwnd)) {
        if (HIWORD(wp) == BN_CLICKED) self->OnDialogCommand(hwnd, LOWORD(wp));
      }
      return TRUE;
    case WM_DESTROY:
      if (MessengerServer* self = From(hwnd)) self->ForgetDialog(hwnd);
      return FALSE;
    default:
      return FALSE;
  }
}

// ---- Window procedures --------------------------------------------------------------------------------

MessengerServer* MessengerServer::From(HWND hwnd) {
  return reinterpret_cast<MessengerServer*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

LRESULT CALLBACK MessengerServer::MainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CLOSE) {
    // Closing Messenger's main window hides it; Messenger goes on running.
    ShowWindow(hwnd, SW_HIDE);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT CALLBACK MessengerServer::ConversationProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  MessengerServer* self = From(hwnd);
  int id = self ? self->ConversationOf(hwnd) : 0;
  switch (msg) {
    case WM_SYSKEYDOWN:
      // Only with Alt held (the context bit): a minimised window in front gets every key as a
      // system key.
      if (id && (lp & (LPARAM{1} << 29))) self->OnShortcut(id, wp);
      break;
    case WM_CLOSE:
      if (id) self->RequestClose(id);
      return 0;
    case WM_DESTROY:
      // Destroyed by anyone else than Messenger's own close: the conversation ends too.
      if (id) {
        self->windows_.erase(id);
        self->state_.model.CloseConversation(id);
      }
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

void MessengerServer::OnShortcut(int conversation, WPARAM vk) {
  const Phrasebook& book = PhrasebookFor(state_.model.language());
  if (vk == static_cast<WPARAM>(book.accept_key)) {
    state_.model.UserAccepts(conversation);
  } else if (vk == static_cast<WPARAM>(book.decline_key)) {
    state_.model.UserDeclines(conversation);
  }
}

// ---- Model changes ---------------------------------------------------------------------------------------

void MessengerServer::OnSignedIn() { events_.Fire(MessengerEvent::kSignedIn, {EventArg::Long(S_OK)}); }

void MessengerServer::OnSignedOut() { events_.Fire(MessengerEvent::kSignedOut, {}); }

void MessengerServer::OnContactAdded(const Text& signin) {
  events_.Fire(MessengerEvent::kContactAdded, {EventArg::Contact(signin)});
}

void MessengerServer::OnContactRemoved(const Text& signin) {
  events_.Fire(MessengerEvent::kContactRemoved, {EventArg::Contact(signin)});
}

void MessengerServer::OnContactStatusChanged(const Text& signin, LONG status) {
  events_.Fire(MessengerEvent::kContactStatusChanged, {EventArg::Contact(signin), EventArg::Long(status)});
}

void MessengerServer::OnConversationOpened(const Conversation& c) {
  int offset = 30 * (cascade_++ % 8);
  HWND hwnd = CreateWindowExW(0, kConversationClass, c.title.c_str(), WS_OVERLAPPEDWINDOW, 200 + offset,
                              120 + offset, 480, 400, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!hwnd) return;
  windows_[c.id] = hwnd;
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  events_.Fire(MessengerEvent::kWindowOpened, {EventArg::Window(c.id, hwnd)});
}

void MessengerServer::OnConversationClosed(const Conversation& c) {
  HWND hwnd = WindowOf(c.id);
  windows_.erase(c.id);
  events_.Fire(MessengerEvent::kWindowClosed, {EventArg::Window(c.id, hwnd)});
  // Its confirmation is owned by it and goes first.
  if (hwnd) DestroyWindow(hwnd);
}

void MessengerServer::OnParticipantJoined(const Conversation& c, const Text& signin) {
  events_.Fire(MessengerEvent::kParticipantJoined,
               {EventArg::Contact(signin), EventArg::Window(c.id, WindowOf(c.id))});
}

void MessengerServer::OnParticipantLeft(const Conversation& c, const Text& signin) {
  events_.Fire(MessengerEvent::kParticipantLeft,
               {EventArg::Contact(signin), EventArg::Window(c.id, WindowOf(c.id))});
}

void MessengerServer::OnHistoryLine(const Conversation& c, const Text& line) {
  Report("history", Quote(ToUtf8(c.title)) + " " + Quote(ToUtf8(line)));
}

}  // namespace world::messenger
