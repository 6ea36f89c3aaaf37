// msnmsgr.exe's world channel: two named pipes whose base name the test driver gives in
// TELLBUD_MESSENGER_PIPE. Through "<base>.world" come commands in tellbud-sim's syntax, one a
// line; through "<base>.report" go Messenger's transcript lines ("messenger ...", "history ...",
// "keyboard ...", "click ...") and the outcome of each command ("world LINE -> ok" or
// "world LINE -> refused").
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "world/core/reporter.h"

namespace world::messenger::process {

class WorldChannel final : public Reporter {
 public:
  // The channel the environment names, or null when it names none or the pipes cannot be opened.
  static std::unique_ptr<WorldChannel> Open();
  ~WorldChannel() override;
  WorldChannel(const WorldChannel&) = delete;
  WorldChannel& operator=(const WorldChannel&) = delete;

  // From any thread.
  void Report(const std::string& source, const std::string& text) override;
  // Starts taking commands: each runs through `run` on the calling thread, from its message
  // loop, and its outcome is reported.
  void Serve(std::function<bool(const std::string&)> run);

 private:
  WorldChannel(HANDLE commands, HANDLE reports);
  static DWORD WINAPI ReadCommands(LPVOID self);
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

  HANDLE commands_;
  HANDLE reports_;
  HWND window_ = nullptr;
  std::function<bool(const std::string&)> run_;
  SRWLOCK write_lock_ = SRWLOCK_INIT;  // lines from several threads stay whole
};

}  // namespace world::messenger::process
