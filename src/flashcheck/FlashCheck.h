#pragma once

#include "ClassesRoot.h"

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <optional>

namespace flashcheck {

inline constexpr char kCurVerKey[] = "ShockwaveFlash.ShockwaveFlash\\CurVer";
// The value is read into a buffer of this many bytes; it must fit with its terminating zero
// and a spare byte, i.e. at most kReadBufferSize - 2 characters.
inline constexpr int kReadBufferSize = 80;
inline constexpr char kOldestCurrentVersion = '7';
// Stands in for a character that has no 8-bit code (ASCII SUB). It compares below '7'.
inline constexpr char kNoAnsiCode = '\x1a';

inline constexpr char kQuestionText[] =
    "You do not have the latest Macromedia Flash player would you like to download it now?";
inline constexpr char kQuestionCaption[] = "Latest Flash Not Found";
inline constexpr char kDownloadHost[] = "www.macromedia.com";

QUrl downloadUrl();

// The 8-bit text the version rule looks at: Windows-1252, one byte per character.
// Characters up to U+00FF that 1252 does not reassign keep their Latin-1 code; a character
// with no 1252 code (anything else above U+00FF, including a surrogate pair) becomes
// kNoAnsiCode, so it counts as one byte and never passes the version rule.
QByteArray toAnsiBytes(const QString& text);

// True when the value with its terminating zero takes fewer than kReadBufferSize bytes.
bool fitsReadBuffer(const QByteArray& ansiText);

// The last character compared with '7' as a signed 8-bit code. Only that one character
// counts, so "...10" fails and a code above 127 counts as smaller. An empty value has no
// last character and is not current.
bool passesVersionRule(const QByteArray& ansiText);

// The whole judgement on a lookup result: readable, fits the buffer, passes the rule.
bool flashIsCurrent(const DefaultValue& value);

// The question box and the browser, replaceable so the decision runs without a display.
class DownloadPrompt {
  public:
    virtual ~DownloadPrompt() = default;
    // Yes/No question with no icon and no owner; true for Yes.
    virtual bool askYesNo(const QString& text, const QString& caption) = 0;
    // Opens the address in the default browser (maximised where the desktop allows).
    // Whether that worked is of no concern to the check.
    virtual void openAddress(const QUrl& address) = 0;
};

// Reads the Flash control's current version and offers the download page when it is not
// current. Returns the exit code, which is always 0.
int runFlashCheck(const ClassesRoot& root, DownloadPrompt& prompt);

} // namespace flashcheck
