// The program's settings files. Every setting lives in a profile (INI) file beside the
// executable; these functions read and write such files with the calling conventions of the
// Windows profile functions (fixed-size buffers, defaults, names matched without regard to
// letter case), through our own reader and writer.
//
// Files may be UTF-8 (with or without byte order mark), UTF-16 with byte order mark, or
// Windows-1252 (a file that is not valid UTF-8); a write keeps the file's encoding, and a new
// file is UTF-8 without byte order mark. A file that cannot be read reads as missing.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// winbase.h of Windows maps this name to the functions for win.ini, which the program never
// uses; the name here means the function below.
#undef WriteProfileString

// Copies the value of `key` in `section` into `buffer`: blanks around it and one pair of
// enclosing double quotes removed, cut to bufferLength - 1 characters, always terminated.
// When the file, the section or the key is missing, copies `defaultValue` instead (null means
// empty; trailing spaces removed; also cut). Returns the number of characters copied, without
// the terminator. A null or zero-length buffer returns 0.
//
// A null `section` lists the file's section names, a null `key` the keys of `section`: each name
// terminated, the list ending in a second terminator. When the list does not fit, the last name
// is cut and the list still ends in two terminators; the result is then bufferLength - 2.
DWORD ReadProfileString(LPCWSTR section, LPCWSTR key, LPCWSTR defaultValue, LPWSTR buffer, DWORD bufferLength,
                        LPCWSTR filePath);

// The leading decimal number of the value (optional sign, then digits): "7abc" gives 7, "abc"
// and an empty value give 0; numbers beyond the range of INT stop at its limits. `defaultValue`
// when the file, the section or the key is missing. Negative numbers come back as their UINT
// bit pattern, as Windows returns them.
UINT ReadProfileInt(LPCWSTR section, LPCWSTR key, INT defaultValue, LPCWSTR filePath);

// Sets `key` in `section` to `value`, creating the file, the section or the key as needed; a null
// `value` removes the key and a null `key` removes the whole section. Every other line of the
// file stays exactly as it was. A value with blanks at either end, or enclosed in double quotes,
// is stored in quotes so that it reads back as written. The new contents go to a temporary file
// that then replaces the old one, so a failure leaves the old file untouched.
// Returns FALSE with the last error set on failure: ERROR_INVALID_PARAMETER for a missing
// section or path and for names or values that a line cannot hold (line breaks, "]" in a section
// name, "=" in a key, an empty key or one starting with ";" or "["); errors of the file system
// otherwise, including for a file that exists but cannot be read.
BOOL WriteProfileString(LPCWSTR section, LPCWSTR key, LPCWSTR value, LPCWSTR filePath);

// The values of the keys "1", "2", ... of `section`, in order, up to the first missing or empty
// one (a gap ends the list), each read as ReadProfileString reads it and cut to
// `maxValueLength` characters. Empty when the file or the section is missing.
std::vector<std::basic_string<WCHAR>> ReadProfileList(LPCWSTR section, DWORD maxValueLength,
                                                      LPCWSTR filePath);
