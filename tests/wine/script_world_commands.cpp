// The script driver's commands for the program's life, the clock, expectations, the files
// beside Tellbud.exe, the handset and Messenger.
#include <sstream>

#include "tests/wine/script_driver.h"
#include "tests/wine/script_text.h"
#include "world/console/duration.h"
#include "world/console/handset_keys.h"
#include "world/console/numbers.h"

namespace wine_test {

namespace {

constexpr DWORD kStartTimeoutMs = 30000;

// One argument of a Windows command line: quoted when it holds blanks or quotes, or is empty.
std::wstring CommandLineArgument(const std::string& arg) {
  if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) return Wide(arg);
  std::string out = "\"";
  for (char c : arg) {
    if (c == '"') out += '\\';
    out += c;
  }
  return Wide(out + "\"");
}

// "[mm:ss.mmm]": the virtual clock's stamp, which only tellbud-sim prints.
bool StartsWithTimestamp(const std::string& text) {
  return text.size() >= 11 && text[0] == '[' && text[3] == ':' && text[6] == '.' && text[10] == ']';
}

// A file beside Tellbud.exe, named relative to its folder; nothing for other places.
bool BesideExe(const std::string& name) {
  return !name.empty() && name.find("..") == std::string::npos && name.find(':') == std::string::npos &&
         name[0] != '\\' && name[0] != '/';
}

// The text of a file as the profile functions read it: UTF-16LE with its byte order mark,
// UTF-8 with or without one, else the ANSI code page.
std::wstring DecodeFile(const std::string& bytes) {
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
      static_cast<unsigned char>(bytes[1]) == 0xFE)
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / 2);
  std::string body = bytes.rfind("\xEF\xBB\xBF", 0) == 0 ? bytes.substr(3) : bytes;
  if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, body.data(), static_cast<int>(body.size()), nullptr,
                          0) > 0 ||
      body.empty())
    return Wide(body);
  int n = MultiByteToWideChar(CP_ACP, 0, body.data(), static_cast<int>(body.size()), nullptr, 0);
  std::wstring out(n, L'\0');
  MultiByteToWideChar(CP_ACP, 0, body.data(), static_cast<int>(body.size()), out.data(), n);
  return out;
}

}  // namespace

CScriptDriver::Result CScriptDriver::Start(const Call& call) {
  std::wstring args;
  for (const std::string& a : call.args) args += (args.empty() ? L"" : L" ") + CommandLineArgument(a);
  if (!m_bStarted) {
    m_bStarted = true;
    if (!m_run->Start(args))
      return Result::Failed("Tellbud.exe did not start from " + Utf8(m_run->ExePath()));
    Print("process Tellbud.exe started");
    // As the shell does (and tellbud-sim's start): the program has started once it waits for input.
    if (HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, m_run->ProcessId())) {
      WaitForInputIdle(process, kStartTimeoutMs);
      CloseHandle(process);
    }
    WaitFor([&] { return m_handset->WaitConnected(0) || m_run->HasExited(); }, kStartTimeoutMs);
    if (!m_handset->WaitConnected(0) && !m_pendingHandset.empty())
      return Result::Failed(
          "Tellbud's handset control did not connect within 30 s (is TellbudHandset.dll "
          "registered?)");
    for (const std::string& command : m_pendingHandset)
      if (Result r = PlayHandset(command); r.kind != Result::kOk) return r;
    m_pendingHandset.clear();
    return Result::Ok();
  }
  // Another process of the same program, which acts on the first and ends; once the first has
  // ended, one that ends by itself (the exit marker with nothing to end).
  Print("process Tellbud.exe started");
  DWORD code = m_run->RunAnother(args, kStartTimeoutMs);
  if (code == STILL_ACTIVE)
    return Result::Failed(m_run->HasExited()
                              ? "Tellbud.exe ran on after the first had ended; the Windows script "
                                "driver runs one Tellbud a script (it was ended after 30 s)"
                              : "the second Tellbud.exe did not end within 30 s");
  Print("process Tellbud.exe ended (exit code " + std::to_string(code) + ")");
  return Result::Ok();
}

CScriptDriver::Result CScriptDriver::Wait(const Call& call) {
  auto ms = call.args.size() == 1 ? console::ParseDuration(call.args[0]) : std::nullopt;
  if (!ms) return Result::Failed("usage: wait DURATION (e.g. 500ms, 2s, 1m)");
  if (*ms > kLongestWaitMs)
    return Result::Failed("a wait of " + call.args[0] +
                          " runs in real time here, beyond the test's limit of " +
                          std::to_string(kLongestWaitMs / 1000) + " s (mark the line [sim])");
  Sleep(static_cast<DWORD>(*ms));
  return Result::Ok();
}

CScriptDriver::Result CScriptDriver::Expect(const Call& call) {
  if (call.rest.empty()) return Result::Failed("usage: expect TEXT");
  if (StartsWithTimestamp(call.rest))
    return Result::Failed("the virtual clock's time stamps exist only in tellbud-sim (mark the line [sim])");
  if (WaitFor([&] { return m_transcript.Take(call.rest); }, kExpectTimeoutMs)) return Result::Ok();
  return Result::Failed("expected a line containing '" + call.rest + "' within " +
                        std::to_string(kExpectTimeoutMs / 1000) + " s, since the previous expect");
}

CScriptDriver::Result CScriptDriver::Debug(const Call& call) {
  if (call.args.size() != 1 || (call.args[0] != "on" && call.args[0] != "off"))
    return Result::Failed("usage: debug on | debug off");
  m_observer->SetDebugOutput(call.args[0] == "on");
  return Result::Ok();
}

CScriptDriver::Result CScriptDriver::Ini(const Call& call) {
  if (call.args.size() != 4) return Result::Failed("usage: ini FILE SECTION KEY \"VALUE\"");
  if (!BesideExe(call.args[0]))
    return Result::Failed("not a file beside the executable: '" + call.args[0] + "'");
  std::wstring file = m_run->Folder() + L"\\" + Wide(call.args[0]);
  if (!WritePrivateProfileStringW(Wide(call.args[1]).c_str(), Wide(call.args[2]).c_str(),
                                  Wide(call.args[3]).c_str(), file.c_str()))
    return Result::Failed("cannot write " + call.args[0] + " (error " + std::to_string(GetLastError()) + ")");
  return Result::Ok();
}

CScriptDriver::Result CScriptDriver::Cat(const Call& call) {
  if (call.args.size() != 1) return Result::Failed("usage: cat FILE");
  if (!BesideExe(call.args[0]))
    return Result::Failed("not a file beside the executable: '" + call.args[0] + "'");
  std::string bytes;
  if (!ReadWholeFile(m_run->Folder() + L"\\" + Wide(call.args[0]), &bytes))
    return Result::Failed("cannot read " + call.args[0]);
  std::istringstream lines(Utf8(DecodeFile(bytes)));
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    Print(line);
  }
  return Result::Ok();
}

// The handset's commands become the control's world commands; before Tellbud has created the
// control they wait for it, as the device waits plugged in for a program to open it.
CScriptDriver::Result CScriptDriver::Handset(const Call& call) {
  const std::string sub = call.args.empty() ? "" : call.args[0];
  std::vector<std::string> commands;
  if (sub == "plug" && call.args.size() <= 2) {
    std::string model = call.args.size() == 2 ? call.args[1] : "";
    if (!model.empty()) {
      if (!model.starts_with("0x") && !model.starts_with("0X")) model = "0x" + model;
      auto number = console::ParseNumber(model);
      if (!number || *number > 0x7FFFFFFF)
        return Result::Failed("not a model code: '" + call.args[1] + "' (hexadecimal, e.g. 0x0200)");
    }
    commands.push_back(model.empty() ? "plug" : "plug " + model);
  } else if ((sub == "unplug" || sub == "lift" || sub == "down" || sub == "line" || sub == "level") &&
             call.args.size() == 1) {
    commands.push_back(sub);
  } else if ((sub == "key" || sub == "dial") && call.args.size() >= 2) {
    std::vector<std::string> keys(call.args.begin() + 1, call.args.end());
    if (sub == "dial") {
      keys.clear();
      for (char digit : call.args[1]) keys.emplace_back(1, digit);
    }
    for (const std::string& key : keys) {
      auto code = console::HandsetKeyCode(key);
      if (!code) return Result::Failed("not a handset key: '" + key + "'");
      commands.push_back("key " + std::to_string(*code));
    }
  } else if (sub == "setlevel" && call.args.size() == 2 && console::ParseNumber(call.args[1])) {
    commands.push_back("setlevel " + call.args[1]);
  } else {
    return Result::Failed(
        "usage: handset plug [MODEL] | unplug | lift | down | key KEY... | dial DIGITS | "
        "line | level | setlevel N");
  }
  for (const std::string& command : commands) {
    if (!m_bStarted) {
      if (m_pendingHandset.empty()) m_pendingSince = m_line;
      m_pendingHandset.push_back(command);
    } else if (Result r = PlayHandset(command); r.kind != Result::kOk) {
      return r;
    }
  }
  return Result::Ok();
}

CScriptDriver::Result CScriptDriver::PlayHandset(const std::string& command) {
  if (!m_handset->WaitConnected(0)) return Result::Failed("Tellbud has not connected to the handset control");
  if (!m_handset->Play(command))
    return Result::Failed("the handset did not do '" + command + "' (refused, or no answer within 10 s)");
  return Result::Ok();
}

// Messenger quits and starts as a user starts and quits it; everything else is the stand-in's
// own command, in tellbud-sim's words.
CScriptDriver::Result CScriptDriver::Messenger(const Call& call) {
  bool messenger = call.line.starts_with("messenger");
  if (messenger && call.args == std::vector<std::string>{"start"}) {
    if (m_messenger->Start()) return Result::Ok();
    return Result::Failed("Messenger (msnmsgr.exe) did not start and serve within 15 s");
  }
  if (messenger && call.args == std::vector<std::string>{"quit"}) {
    if (m_messenger->Quit()) return Result::Ok();
    return Result::Failed("Messenger did not quit within 15 s");
  }
  if (m_messenger->Command(call.line)) return Result::Ok();
  return Result::Failed("Messenger did not carry out '" + call.line + "'" +
                        (m_messenger->IsRunning() ? "" : " (it is not running)"));
}

}  // namespace wine_test
