// The Messenger watch tick across a real process boundary: Tellbud.exe watching 100 one-to-one
// conversations of 100,000 characters each, 10 MB of text, held by msnmsgr.exe. A figure for
// docs/performance.md, not a test: disabled, it runs only when asked for.
//   GTEST_ALSO_RUN_DISABLED_TESTS=1 TELLBUD_WINE_PLATFORM_TESTS=0 tools/wine-test.sh 'WatchTick*'
// Tellbud's tick cannot be timed from outside, so the figures are the processor time both
// processes spend per tick (a tick every two seconds) and the wall time of reading every history
// once from this process, the floor of a tick as in the simulator's benchmark.
#include <gtest/gtest.h>
#include <ole2.h>

#include <cstdio>
#include <memory>
#include <string>

#include "messenger/messenger_api.h"
#include "tests/wine/messenger_world.h"
#include "tests/wine/tellbud_fixture.h"

namespace wine_test {
namespace {

constexpr int kConversations = 100;
constexpr size_t kHistoryChars = 100 * 1000;
constexpr DWORD kTickMs = 2000;
constexpr int kTicksMeasured = 10;

std::string Signin(int i) { return "user" + std::to_string(i) + "@example.com"; }

std::string ReadSmallFile(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "";
  char buffer[4096];
  DWORD read = 0;
  std::string text;
  if (ReadFile(file, buffer, sizeof buffer, &read, nullptr)) text.assign(buffer, read);
  CloseHandle(file);
  return text;
}

std::string Lower(std::string text) {
  for (char& c : text) c = c ? static_cast<char>(tolower(static_cast<unsigned char>(c))) : ' ';
  return text;
}

// User and system time, in milliseconds, of the host's processes whose command line names `exe`:
// Wine's GetProcessTimes does not tell another process's times; the host's /proc (drive Z:) does.
double ProcessorMs(const std::string& exe) {
  WIN32_FIND_DATAW entry;
  HANDLE find = FindFirstFileW(L"Z:\\proc\\*", &entry);
  if (find == INVALID_HANDLE_VALUE) return -1;
  double ms = 0;
  do {
    if (entry.cFileName[0] < L'0' || entry.cFileName[0] > L'9') continue;
    std::wstring dir = std::wstring(L"Z:\\proc\\") + entry.cFileName;
    if (Lower(ReadSmallFile(dir + L"\\cmdline")).find(Lower(exe)) == std::string::npos) continue;
    // Fields 14 and 15 of stat, counted after the name in parentheses, in clock ticks of 10 ms.
    std::string stat = ReadSmallFile(dir + L"\\stat");
    size_t close = stat.rfind(')');
    unsigned long long utime = 0, stime = 0;
    if (close != std::string::npos &&
        std::sscanf(stat.c_str() + close + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %llu %llu", &utime,
                    &stime) == 2)
      ms += static_cast<double>(utime + stime) * 10.0;
  } while (FindNextFileW(find, &entry));
  FindClose(find);
  return ms;
}

double NowMs() {
  LARGE_INTEGER frequency, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

class WatchTickBench : public WineTellbud {
 protected:
  void SetUp() override {
    m_messenger = std::make_unique<CMessengerWorld>();
    WineTellbud::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(m_world->Play("plug")) << Seen();
    ASSERT_TRUE(m_messenger->Start()) << m_messenger->Transcript();
    ASSERT_TRUE(m_messenger->Command("messenger signin"));
    for (int i = 0; i < kConversations; ++i)
      ASSERT_TRUE(
          m_messenger->Command("contact add " + Signin(i) + " \"User " + std::to_string(i) + "\" online"));
  }
  void TearDown() override {
    WineTellbud::TearDown();
    m_messenger.reset();
  }

  // Processor time of Tellbud.exe and msnmsgr.exe per tick over kTicksMeasured ticks.
  void MeasureTicks(const char* what) {
    double tellbud = ProcessorMs("Tellbud.exe"), messenger = ProcessorMs("msnmsgr.exe");
    Sleep(kTickMs * kTicksMeasured);
    tellbud = (ProcessorMs("Tellbud.exe") - tellbud) / kTicksMeasured;
    messenger = (ProcessorMs("msnmsgr.exe") - messenger) / kTicksMeasured;
    std::printf("[ MEASURED ] %s: processor time per tick: Tellbud.exe %.1f ms, msnmsgr.exe %.1f ms\n", what,
                tellbud, messenger);
  }

  // Wall time of one get_History of every conversation, from this process.
  double ReadEveryHistoryMs() {
    IMessenger* messenger = nullptr;
    if (FAILED(CoCreateInstance(CLSID_Messenger, nullptr, CLSCTX_INPROC_SERVER, IID_IMessenger,
                                reinterpret_cast<void**>(&messenger))))
      return -1;
    std::vector<IMessengerConversationWnd*> windows;
    for (int i = 0; i < kConversations; ++i) {
      std::string signin = Signin(i);
      VARIANT contact;
      VariantInit(&contact);
      contact.vt = VT_BSTR;
      contact.bstrVal = SysAllocString(std::wstring(signin.begin(), signin.end()).c_str());
      IDispatch* window = nullptr;
      IMessengerConversationWnd* conversation = nullptr;
      if (SUCCEEDED(messenger->InstantMessage(contact, &window)) && window) {
        window->QueryInterface(IID_IMessengerConversationWnd, reinterpret_cast<void**>(&conversation));
        window->Release();
      }
      VariantClear(&contact);
      if (conversation) windows.push_back(conversation);
    }
    double start = NowMs();
    size_t chars = 0;
    for (IMessengerConversationWnd* conversation : windows) {
      BSTR history = nullptr;
      if (SUCCEEDED(conversation->get_History(&history))) chars += SysStringLen(history);
      SysFreeString(history);
    }
    double ms = NowMs() - start;
    for (IMessengerConversationWnd* conversation : windows) conversation->Release();
    messenger->Release();
    std::printf("[ MEASURED ] every history read once: %zu conversations, %zu characters, %.1f ms\n",
                windows.size(), chars, ms);
    return ms;
  }

  std::unique_ptr<CMessengerWorld> m_messenger;
};

TEST_F(WatchTickBench, DISABLED_HundredLongConversations) {
  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  Sleep(kTickMs * 2);
  MeasureTicks("no conversation");
  std::string text;
  static const std::string kWords = "see you at the station at eight, bring the maps and the big umbrella. ";
  while (text.size() < kHistoryChars) text += kWords;
  text.resize(kHistoryChars);
  for (int i = 0; i < kConversations; ++i)
    ASSERT_TRUE(m_messenger->Command("chat " + Signin(i) + " \"" + text + "\"", 30000)) << "chat " << i;
  // The first ticks find all of the new text; the ticks measured find none.
  Sleep(kTickMs * 4);
  MeasureTicks("100 conversations, 10 MB, nothing new");
  for (int run = 0; run < 3; ++run) ReadEveryHistoryMs();
  CoUninitialize();
}

}  // namespace
}  // namespace wine_test
