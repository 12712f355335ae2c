#pragma once

#include <QString>

// The program's settings file: "<application title>.INI" in the user's configuration folder ($XDG_CONFIG_HOME,
// else ~/.config). It is read and written as profile files are on Windows: section and key names match without
// regard to case, and a write changes only its own line, so whatever else the user keeps there (the Ports
// section, comments) stays as it was.

QString DefaultProfilePath();
// The shell sets the file once at start-up; tests point it at a scratch file.
void SetProfilePath(const QString& strPath);
QString GetProfilePath();

// The key's value as a decimal integer (its leading number; text without one reads 0), or nDefault when the
// file, the section or the key is missing.
int GetProfileInt(const QString& strSection, const QString& strKey, int nDefault);

// Writes the key as "%d", creating the file, the section or the key as needed, in one piece (the old file stays
// whole if the write fails). A file that exists but cannot be read is left alone. Returns whether it was written.
bool WriteProfileInt(const QString& strSection, const QString& strKey, int nValue);
