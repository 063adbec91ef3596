#include "shell/Application.h"
#include "shell/MainUnit1.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <unistd.h>

int main(int argc, char** argv) {
    // The browser engine of the player samples refuses to start its sandbox
    // for the superuser; the samples are local pages, so run it without.
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Murmelo"));
    app.setOrganizationName(QStringLiteral("Vantrel Software"));

    TMainForm1* main = ExecuteApplication();
    // The keeper puts the window where it was left; a first run centres it.
    if (main->FormStateEnabled) {
        main->RestorePlacement();
    } else if (QScreen* s = QGuiApplication::primaryScreen()) {
        QRect r(QPoint(0, 0), main->frameGeometry().size());
        r.moveCenter(s->availableGeometry().center());
        main->move(r.topLeft());
    }
    main->show();
    const int rc = app.exec();
    delete main;
    return rc;
}
