// Tellbud running in a world of its own, driven by tellbud-sim's commands, with the program's
// main window object at hand for its state. A test reads program state only between commands,
// when every program thread is blocked, as the world always does.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <framework/wnd.h>

#include "ui/tellbud_dlg.h"
#include "world/console/console.h"
#include "world/core/exe_folder.h"

class ProgramFixture : public ::testing::Test {
 protected:
  world::TemporaryFolder folder;
  world::World world{folder.path()};
  console::Console console{world};
  std::vector<std::string> printed;
  size_t mark = 0;  // lines before this index were seen by an earlier Expect

  void SetUp() override {
    world.transcript().SetSink([this](const std::string& line) { printed.push_back(line); });
  }

  // Runs one console command; fails the test when the console refuses it.
  void Run(const std::string& line) {
    auto outcome = console.ExecuteLine(line).outcome;
    ASSERT_EQ(outcome, console::Outcome::kOk) << "command: " << line;
  }
  void RunAll(std::initializer_list<const char*> lines) {
    for (const char* line : lines) Run(line);
  }

  // Whether a line containing `text` was printed since the previous successful Expect; on a
  // match the next Expect looks only after it (like the console's `expect`).
  bool Expect(const std::string& text) {
    for (size_t i = mark; i < printed.size(); ++i) {
      if (printed[i].find(text) != std::string::npos) {
        mark = i + 1;
        return true;
      }
    }
    return false;
  }
  // Whether `text` appears in any line printed since the previous Expect (without moving on).
  bool PrintedSinceMark(const std::string& text) const {
    for (size_t i = mark; i < printed.size(); ++i)
      if (printed[i].find(text) != std::string::npos) return true;
    return false;
  }
  void Forget() { mark = printed.size(); }
  std::string Transcript() const {
    std::string all;
    for (const std::string& line : printed) all += line + "\n";
    return all;
  }

  // The running Tellbud's main window object, or nullptr.
  CTellbudDlg* Dialog() {
    auto hwnd = world.TellbudMainWindow();
    if (!hwnd) return nullptr;
    return dynamic_cast<CTellbudDlg*>(CWnd::FromHandlePermanent(*hwnd));
  }

  // A file beside the executable, read whole (bytes).
  std::string ReadFile(const std::string& name) const {
    std::ifstream in(world.exe_folder() / name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  void WriteFile(const std::string& name, const std::string& bytes) const {
    std::ofstream out(world.exe_folder() / name, std::ios::binary | std::ios::trunc);
    out << bytes;
  }
};

// Fails with the transcript when a line is missing.
#define EXPECT_PRINTED(text) EXPECT_TRUE(Expect(text)) << "missing: " << (text) << "\n" << Transcript()
#define ASSERT_PRINTED(text) ASSERT_TRUE(Expect(text)) << "missing: " << (text) << "\n" << Transcript()

// ---- The contact list and a connected Tellbud -----------------------------------------------------

#include <sim/controls.h>

#include "world/core/text.h"

// One row of Tellbud's contact list as a person reads it.
struct ContactRowView {
  std::string name;    // column 0
  std::string speed;   // column 1
  std::string signin;  // column 2
  int image = -1;      // 0 online, 1 offline, -1 the separator
};

inline std::vector<ContactRowView> ContactRows(world::World& w) {
  std::vector<ContactRowView> rows;
  auto list = w.TellbudContactList();
  auto view = list ? sim::InspectListView(*list) : std::nullopt;
  if (!view) return rows;
  for (const sim::ListViewRowInfo& r : view->rows) {
    ContactRowView row;
    auto text = [&](size_t col) { return col < r.texts.size() ? world::Utf8(r.texts[col]) : std::string(); };
    row.name = text(0);
    row.speed = text(1);
    row.signin = text(2);
    row.image = r.image;
    rows.push_back(row);
  }
  return rows;
}

// Column 0 of every row joined by '|', the separator showing as its blank: "Ann|Bob| |carl".
inline std::string ContactNames(world::World& w) {
  std::string all;
  for (const ContactRowView& row : ContactRows(w)) all += (all.empty() ? "" : "|") + row.name;
  return all;
}
