// The handset settings of the settings file's OPTION section: the ring style and an adaptor's
// default line. Every reader and writer of these two keys goes through here, so that a value
// edited by hand to something the handset cannot take never reaches it.
#pragma once

#include <windows.h>

// Ring styles the handset knows: 0 to 9.
const int RING_STYLE_COUNT = 10;

// `style` when it is a ring style the handset knows, else 0.
int ValidRingStyle(int style);
// The stored ring style ("RingType"); missing, out of range or not a number counts as 0.
int ReadRingType();
// Stores a ring style as its decimal text (a style outside 0..9 is stored as 0).
BOOL WriteRingType(int style);

// The stored default line of an adaptor ("ChannelType"): 1 is the USB line; anything else is
// the telephone line (0), as the writer only ever writes "0" or "1".
SHORT ReadChannelType();
BOOL WriteChannelType(SHORT channel);
