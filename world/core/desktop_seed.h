// What the world puts on a fresh desktop before Tellbud starts: the program's icon resources
// and the user's registry values the program reads.
#pragma once

#include <windows.h>

#include <filesystem>
#include <string>

namespace world {

// The registry key and value naming the user's Startup folder.
inline constexpr char16_t kShellFoldersKey[] =
    u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
inline constexpr char16_t kStartupValue[] = u"StartUp";

// Registers Tellbud.exe's icon resources and points the user's Startup folder at the one inside
// the executable's folder.
void SeedDesktop(const std::filesystem::path& exe_folder);

// How an icon looks, for transcript lines: an icon file's name relative to the executable's
// folder ("nodevice.ico"; other files by their full Windows path), a module icon resource
// ("#128"), a system icon ("system #32512"), or "none".
std::string DescribeIconLook(HICON icon, const std::filesystem::path& exe_folder);

}  // namespace world
