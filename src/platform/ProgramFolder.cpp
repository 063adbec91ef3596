#include "platform/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>

namespace {
QString& overrideFolder() {
    static QString f;
    return f;
}
QString withSeparator(QString f) {
    if (!f.endsWith(QLatin1Char('/')))
        f += QLatin1Char('/');
    return f;
}
} // namespace

QString ProgramFolder() {
    if (!overrideFolder().isEmpty())
        return overrideFolder();
    return withSeparator(QCoreApplication::applicationDirPath());
}

void SetProgramFolderForTests(const QString& folder) {
    overrideFolder() = folder.isEmpty() ? QString() : withSeparator(folder);
}
