#pragma once
// The main window's load and save orders over the settings store, and the
// rules of the "Main"/"Window" value that keeps the window's place.

#include "shell/SettingsStore.h"
#include "shell/WizardState.h"

#include <QRect>
#include <QSize>
#include <QString>
#include <functional>
#include <optional>

// MP3Path / MRLPath with defaults exeFolder + "MP3/" and + "MRL/";
// SwfFolder = exeFolder + "SWF/". exeFolder gets a trailing "/" if it lacks one.
void LoadFolders(const TSettingsStore& store, WizardState& state, const QString& exeFolder);

// Defaults first, then HZ, Channels, BitRate; below 32 kbit/s only at 11025 Hz.
void LoadRecordingFormat(const TSettingsStore& store, WizardState& state);

// FTP accounts, link options, ImportPath, the four player flags (the callback
// runs right after each flag is read, with its value name and value),
// FilesCopyPath and the seven alert flags.
void LoadAccountsAndOptions(
    const TSettingsStore& store, WizardState& state,
    const std::function<void(const QString& name, bool value)>& playerFlagRead);

// Every value, every time, in the order the program has always saved them.
// Goes on after a failed write; false if any write failed.
bool SaveSettings(TSettingsStore& store, const WizardState& state, bool maximised);

// "Settings"/"WS" (default 0); 2 means start maximised.
int ReadWindowStateWS(const TSettingsStore& store);
// "Settings"/"ShowMorePlayersLink" is exactly "1".
bool ShowMorePlayersLink(const TSettingsStore& store);

// Section and value name of the window-state text.
inline constexpr char kWindowSection[] = "Main";
inline constexpr char kWindowValue[] = "Window";

// "200,flags,showCmd,left,top,right,bottom" -> the restored rectangle
// (right/bottom exclusive, as the window system writes them); nullopt unless
// there are exactly seven parts, the first is "200", parts 4 to 7 are
// integers and the rectangle is not empty.
std::optional<QRect> ParseWindowValue(const QString& text);
// Moves a rectangle whose right or bottom edge lies beyond the desktop back
// so it ends at that edge, keeping its size; then keeps its top-left corner
// on the desktop.
QRect FitOnDesktop(QRect restored, QSize desktop);
QString FormatWindowValue(int flags, int showCmd, QRect restored);
