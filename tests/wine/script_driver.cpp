#include "script_driver.h"

#include <cstdio>
#include <map>

#include "tests/wine/desktop.h"
#include "tests/wine/script_text.h"
#include "world/console/platform_mark.h"
#include "world/console/tokenizer.h"

namespace wine_test {

namespace {

std::string TrimRight(std::string s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n'))
    s.pop_back();
  return s;
}

using Handler = CScriptDriver::Result (CScriptDriver::*)(const CScriptDriver::Call&);

// tellbud-sim's commands that act on its simulated world only (sound devices, the registry,
// file attributes, Messenger's other dialogs, combo boxes and sliders by inspection).
const char* const kSimOnly[] = {"choose", "slide", "sysmenu", "dialog", "mixer", "file", "registry", "help"};

}  // namespace

CScriptDriver::CScriptDriver(const std::wstring& name)
    : m_handset(std::make_unique<CHandsetWorld>()),
      m_messenger(std::make_unique<CMessengerWorld>()),
      m_run(std::make_unique<CTellbudRun>(name)) {
  m_observer = std::make_unique<CScriptObserver>(m_transcript, *m_run, *m_handset, *m_messenger);
}

CScriptDriver::~CScriptDriver() {
  bool hadIcon = m_bStarted && !m_run->HasExited();
  m_observer.reset();  // it reads the run, the handset and Messenger until it ends
  m_run.reset();       // ends Tellbud as a user would, else by force
  if (m_messenger->IsRunning() && !m_messenger->Quit()) m_messenger->Kill();
  // The next test's icon goes where this one's was.
  if (hadIcon) WaitFor([] { return !TrayShowsIcon(); }, 10000);
}

void CScriptDriver::Print(const std::string& line) { m_observer->Report(line); }

std::string CScriptDriver::Seen() const {
  std::string text = "lines an expect could still take:\n";
  std::vector<std::string> open = m_transcript.Open();
  constexpr size_t kShown = 60;
  if (open.size() > kShown) text += "  (" + std::to_string(open.size() - kShown) + " lines before)\n";
  for (size_t i = open.size() > kShown ? open.size() - kShown : 0; i < open.size(); ++i)
    text += "  " + open[i] + "\n";
  text += DescribeWindows();
  text += "debugger output of Tellbud.exe:\n" + m_run->DebugOutputText();
  text += "handset transcript:\n" + m_handset->Transcript();
  text += "Messenger transcript:\n" + m_messenger->Transcript();
  return text;
}

std::string CScriptDriver::Run(const std::vector<std::string>& lines, const std::string& name) {
  for (m_line = 1; m_line <= lines.size(); ++m_line) {
    Result result = Execute(lines[m_line - 1]);
    if (result.kind == Result::kQuit) break;
    if (result.kind == Result::kFailed) {
      Sleep(500);  // what follows at once belongs to the picture
      std::string where = name + ":" + std::to_string(m_line) + ": " + result.message;
      // A picture of the screen once Tellbud has shown something on it.
      if (m_bStarted) {
        std::wstring picture = L"failed-" + Wide(name) + L"-" + std::to_wstring(m_line);
        if (SaveBitmap(CaptureScreen(), ResultsFolder() + L"\\" + picture + L".bmp"))
          where += " (the screen: " + Utf8(picture) + ".png)";
      }
      return where + "\n" + Seen();
    }
  }
  // The device is played through Tellbud's control: without it the commands never happened.
  if (!m_pendingHandset.empty())
    return name + ":" + std::to_string(m_pendingSince) +
           ": the handset is played through Tellbud's handset control, and this script never starts "
           "Tellbud (mark the line [sim])\n";
  return {};
}

CScriptDriver::Result CScriptDriver::Execute(const std::string& text) {
  console::MarkedLine marked = console::SplitPlatformMark(text);
  if (!marked.error.empty()) return Result::Failed(marked.error);
  if (marked.platform == console::Platform::kSim) return Result::Ok();
  const std::string& line = marked.text;
  console::Tokenized tokens = console::Tokenize(line);
  if (tokens.words.empty()) return tokens.error.empty() ? Result::Ok() : Result::Failed(tokens.error);
  const std::string& name = tokens.words[0].text;

  static const std::map<std::string, Handler> kHandlers = {
      {"start", &CScriptDriver::Start},       {"wait", &CScriptDriver::Wait},
      {"expect", &CScriptDriver::Expect},     {"debug", &CScriptDriver::Debug},
      {"ini", &CScriptDriver::Ini},           {"cat", &CScriptDriver::Cat},
      {"handset", &CScriptDriver::Handset},   {"messenger", &CScriptDriver::Messenger},
      {"contact", &CScriptDriver::Messenger}, {"call", &CScriptDriver::Messenger},
      {"answer", &CScriptDriver::Messenger},  {"reject", &CScriptDriver::Messenger},
      {"hangup", &CScriptDriver::Messenger},  {"chat", &CScriptDriver::Messenger},
      {"join", &CScriptDriver::Messenger},    {"leave", &CScriptDriver::Messenger},
      {"close", &CScriptDriver::Messenger},   {"tray", &CScriptDriver::Tray},
      {"menu", &CScriptDriver::Menu},         {"list", &CScriptDriver::List},
      {"button", &CScriptDriver::Button},     {"type", &CScriptDriver::Type},
      {"key", &CScriptDriver::Key},           {"window", &CScriptDriver::Window},
      {"show", &CScriptDriver::Show},
  };
  if (name == "quit") return Result{Result::kQuit, ""};
  for (const char* simOnly : kSimOnly)
    if (name == simOnly)
      return Result::Failed("'" + name +
                            "' acts on the simulated world only; the Windows script driver cannot "
                            "carry it out (mark the line [sim])");
  auto handler = kHandlers.find(name);
  if (handler == kHandlers.end()) return Result::Failed("unknown command '" + name + "'");

  Call call;
  call.line = TrimRight(line);
  size_t after = tokens.words[0].start + tokens.words[0].text.size();
  after = line.find_first_not_of(" \t", after);
  if (after != std::string::npos) call.rest = TrimRight(line.substr(after));
  if (name != "expect") {
    if (!tokens.error.empty()) return Result::Failed(tokens.error);
    for (size_t i = 1; i < tokens.words.size(); ++i) call.args.push_back(tokens.words[i].text);
  }
  return (this->*handler->second)(call);
}

}  // namespace wine_test
