#pragma once
// Opens addresses, documents and folders with the desktop's default program,
// and help topics from the help pages beside the program. Tests install a
// hook that records each request instead.

#include <QString>
#include <functional>

class QWidget;

namespace Launcher {
enum class Kind { Address, Document, Folder, HelpTopic };

// Returns what the desktop answered; callers that must not report failures
// simply ignore it.
bool Open(const QString& target, Kind kind = Kind::Address);

// The help topic of a wizard step: help/stepN.htm beside the program.
QString HelpTopicPath(int step);
bool OpenHelpTopic(int step);

using Hook = std::function<bool(const QString& target, Kind kind)>;
void SetHook(Hook hook); // an empty hook restores the desktop
} // namespace Launcher
