// A world for the benchmarks: Tellbud running beside Messenger and a plugged handset, driven by
// tellbud-sim's commands, with the transcript kept quiet.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

#include "ui/tellbud_dlg.h"
#include "world/console/console.h"
#include "world/core/exe_folder.h"
#include "world/messenger/stand_in.h"

#include <framework/wnd.h>
#include <ole2.h>

#include <chrono>
#include <functional>

#include "messenger/messenger_api.h"
#include "world/messenger/call_window.h"

namespace bench {

// Wall-clock seconds that `work` takes.
inline double Seconds(const std::function<void()>& work) {
  auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Another program on the desktop with a COM apartment of its own, calling Messenger as Tellbud
// does; the world hands it work with Do.
class ClientProgram {
 public:
  explicit ClientProgram(sim::Desktop& desktop) : desktop_(desktop) {
    desktop.StartProcess(sim::ProcessInfo{0, u"client.exe", u"C:\\client.exe", u"client.exe"}, [this] {
      CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
      world::messenger::CallWindow tasks;
      tasks_ = &tasks;
      MSG msg;
      while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
      tasks_ = nullptr;
      CoUninitialize();
      return 0;
    });
    desktop.RunUntilIdle();
  }
  // Runs `work` on the client's thread and returns when the desktop is idle again.
  void Do(std::function<void()> work) {
    tasks_->Post(std::move(work));
    desktop_.RunUntilIdle();
  }

 private:
  sim::Desktop& desktop_;
  world::messenger::CallWindow* tasks_ = nullptr;
};

class BenchWorld {
 public:
  BenchWorld() {
    world.transcript().SetSink([](const std::string&) {});
  }

  // Runs a console command; a refused one ends the benchmark (its figures would mean nothing).
  void Run(const std::string& line) {
    auto result = console.ExecuteLine(line);
    if (result.outcome != console::Outcome::kOk) {
      std::fprintf(stderr, "benchmark setup failed: %s: %s\n", line.c_str(), result.message.c_str());
      std::exit(1);
    }
  }

  // Messenger signed in with `contacts` contacts (every third offline), the handset plugged,
  // Tellbud started and connected; the clock left between two Messenger watch ticks.
  void StartConnected(int contacts) {
    Run("handset plug");
    Run("messenger start");
    Run("messenger signin");
    for (int i = 0; i < contacts; ++i) world.messenger().AddContact(Signin(i), Name(i), i % 3 == 2 ? 1 : 2);
    Run("start");
    Run("wait 3s");
  }

  static std::string Signin(int i) { return "contact" + std::to_string(i) + "@example.com"; }
  // Friendly names spread over the alphabet, as a real list is.
  static std::string Name(int i) {
    std::string name(1, static_cast<char>('A' + (i * 7) % 26));
    return name + "name " + std::to_string(i);
  }

  CTellbudDlg* Dialog() {
    auto hwnd = world.TellbudMainWindow();
    return hwnd ? dynamic_cast<CTellbudDlg*>(CWnd::FromHandlePermanent(*hwnd)) : nullptr;
  }

  world::TemporaryFolder folder;
  world::World world{folder.path()};
  console::Console console{world};
};

}  // namespace bench
