#include "shell/Application.h"

#include "options/OptionsUnit.h"
#include "publish/FTPSendUnit.h"
#include "shell/About.h"
#include "shell/AlertForms.h"
#include "shell/MainUnit1.h"
#include "shell/SplashUnit.h"
#include "web/LinkOptionsUnit.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

TMainForm1* ExecuteApplication(int splashMs) {
    auto* splash = new TSplashForm(nullptr, splashMs);
    splash->show();
    splash->repaint();
    QCoreApplication::processEvents();

    // The dialogs are children of the main window and go with it.
    auto* main = new TMainForm1;
    auto& peers = main->Peers;
    peers.FTPSendForm = new TFTPSendForm(main);
    peers.OptionsForm = new TOptionsForm(main);
    peers.LinkOptionsForm = new TLinkOptionsForm(main);
    peers.LinkOptionsForm->FormCreate(main->Logo[0]->pixmap());
    peers.MessageForm = new TMessageForm(main);
    peers.AlertUploadForm = new TAlertUploadForm(main);
    peers.MessageOKCancelForm = new TMessageOKCancelForm(main);
    peers.AboutFrm = new TAboutFrm(main);
    peers.MessageCloseForm = new TMessageCloseForm(main);

    main->SplashMayClose = [splash] { return splash->MayClose(); };
    main->CloseSplash = [splash] {
        splash->close();
        splash->deleteLater();
    };
    return main;
}
