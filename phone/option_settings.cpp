#include "phone/option_settings.h"

#include "app/paths.h"
#include "config/profile.h"
#include "phone/model_code.h"

namespace {

const WCHAR kSection[] = TEXT("OPTION");
const WCHAR kRingKey[] = TEXT("RingType");
const WCHAR kChannelKey[] = TEXT("ChannelType");

}  // namespace

int ValidRingStyle(int style) { return style >= 0 && style < RING_STYLE_COUNT ? style : 0; }

int ReadRingType() {
  // A negative value comes back as its UINT bit pattern: compare unsigned, so it is out of range.
  UINT stored = ReadProfileInt(kSection, kRingKey, 0, g_szSettingsPath);
  return stored < static_cast<UINT>(RING_STYLE_COUNT) ? static_cast<int>(stored) : 0;
}

BOOL WriteRingType(int style) {
  WCHAR text[2] = {static_cast<WCHAR>(TEXT('0') + ValidRingStyle(style)), 0};
  return WriteProfileString(kSection, kRingKey, text, g_szSettingsPath);
}

SHORT ReadChannelType() {
  return ReadProfileInt(kSection, kChannelKey, 0, g_szSettingsPath) == 1 ? CHANNEL_USB : CHANNEL_PSTN;
}

BOOL WriteChannelType(SHORT channel) {
  return WriteProfileString(kSection, kChannelKey, channel == CHANNEL_USB ? TEXT("1") : TEXT("0"),
                            g_szSettingsPath);
}
