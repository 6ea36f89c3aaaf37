// A step of the fuzzer: one tellbud-sim command, kept as its words so that it runs without being
// parsed and prints as a script line that tellbud-sim reads back into the same words.
#pragma once

#include <string>
#include <vector>

#include "world/console/console.h"

namespace fuzz {

using Words = std::vector<std::string>;

// A word as a script line writes it: as it is when tellbud-sim reads it back unchanged, else in
// double quotes with '"' and '\' escaped.
std::string ScriptWord(const std::string& word);
// The script line of a command: its words, each as ScriptWord writes it, separated by blanks.
std::string ScriptLine(const Words& words);

// Runs the command the words name ("handset", "plug", "0500") on the console's world, as the
// console would run its script line, without parsing any text.
console::Result RunWords(console::Console& console, const Words& words);

}  // namespace fuzz
