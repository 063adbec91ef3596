#include "platform/Launcher.h"
#include "platform/ProgramFolder.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QUrl>

namespace {
Launcher::Hook& hook() {
    static Launcher::Hook h;
    return h;
}
} // namespace

void Launcher::SetHook(Hook h) {
    hook() = std::move(h);
}

bool Launcher::Open(const QString& target, Kind kind) {
    if (hook())
        return hook()(target, kind);
    QUrl url;
    if (kind == Kind::Address) {
        url = QUrl::fromUserInput(target);
    } else {
        url = QUrl::fromLocalFile(QDir::cleanPath(target));
    }
    if (!url.isValid())
        return false;
    return QDesktopServices::openUrl(url);
}

QString Launcher::HelpTopicPath(int step) {
    return ProgramFolder() + QStringLiteral("help/step%1.htm").arg(step);
}

bool Launcher::OpenHelpTopic(int step) {
    return Open(HelpTopicPath(step), Kind::HelpTopic);
}
