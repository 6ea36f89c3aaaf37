#include "world/messenger_exe/store.h"

#include <windows.h>

#include <fstream>
#include <sstream>

#include "world/console/numbers.h"
#include "world/console/tokenizer.h"
#include "world/core/reporter.h"

namespace world::messenger::process {

namespace {

std::optional<Language> LanguageNamed(const std::string& name) {
  for (Language l : {Language::kEnglish, Language::kGerman, Language::kFrench})
    if (ToUtf8(PhrasebookFor(l).name) == name) return l;
  return std::nullopt;
}

std::optional<LONG> StatusFrom(const std::string& text) {
  auto n = console::ParseNumber(text);
  if (!n || *n > 0x7FFFFFFF) return std::nullopt;
  return static_cast<LONG>(*n);
}

}  // namespace

void LoadStore(const std::wstring& path, MessengerStandIn& messenger) {
  std::ifstream in(path.c_str(), std::ios::binary);
  std::optional<LONG> status;
  for (std::string line; std::getline(in, line);) {
    console::Tokenized t = console::Tokenize(line);
    if (!t.error.empty() || t.words.empty()) continue;
    const auto& w = t.words;
    if (w[0].text == "language" && w.size() == 2) {
      if (auto l = LanguageNamed(w[1].text)) messenger.SetLanguage(*l);
    } else if (w[0].text == "contact" && w.size() == 4) {
      if (auto s = StatusFrom(w[3].text)) messenger.AddContact(w[1].text, w[2].text, *s);
    } else if (w[0].text == "status" && w.size() == 2) {
      status = StatusFrom(w[1].text);
    }
  }
  // The status last: signing in finds the list complete.
  if (status) messenger.SetStatus(*status);
}

bool SaveStore(const std::wstring& path, const MessengerStandIn& messenger) {
  std::ostringstream out;
  out << "language " << ToUtf8(PhrasebookFor(messenger.language()).name) << "\n";
  for (const ContactView& c : messenger.Contacts())
    out << "contact " << Quote(c.signin) << " " << Quote(c.friendly) << " " << c.status << "\n";
  out << "status " << messenger.MyStatus() << "\n";
  std::wstring temporary = path + L".new";
  {
    std::ofstream file(temporary.c_str(), std::ios::binary | std::ios::trunc);
    file << out.str();
    if (!file.flush()) return false;
  }
  return MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

}  // namespace world::messenger::process
