// A world in a temporary folder with a console over it, recording every line printed.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "world/console/console.h"
#include "world/core/exe_folder.h"

class ConsoleFixture : public ::testing::Test {
 protected:
  world::TemporaryFolder folder;
  world::World world{folder.path()};
  console::Console console{world};
  std::vector<std::string> printed;

  void SetUp() override {
    world.transcript().SetSink([this](const std::string& line) { printed.push_back(line); });
  }
  console::Outcome Run(const std::string& line) { return console.ExecuteLine(line).outcome; }
  bool Printed(const std::string& text) const {
    for (const std::string& line : printed)
      if (line.find(text) != std::string::npos) return true;
    return false;
  }
};
