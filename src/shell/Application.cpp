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
#include <QScreen>

TApplicationWindows ExecuteApplication(int splashMs) {
    auto* splash = new TSplashForm(nullptr, splashMs);
    splash->show();
    splash->repaint();
    QCoreApplication::processEvents();

    TApplicationWindows w;
    w.MainForm1 = new TMainForm1;
    auto* ftp = new TFTPSendForm(w.MainForm1);
    auto* options = new TOptionsForm(w.MainForm1);
    auto* link = new TLinkOptionsForm(w.MainForm1);
    auto* message = new TMessageForm(w.MainForm1);
    auto* alertUpload = new TAlertUploadForm(w.MainForm1);
    auto* okCancel = new TMessageOKCancelForm(w.MainForm1);
    auto* about = new TAboutFrm(w.MainForm1);
    auto* close = new TMessageCloseForm(w.MainForm1);
    w.FTPSendForm = ftp;
    w.OptionsForm = options;
    w.LinkOptionsForm = link;
    w.MessageForm = message;
    w.AlertUploadForm = alertUpload;
    w.MessageOKCancelForm = okCancel;
    w.AboutFrm = about;
    w.MessageCloseForm = close;

    auto& peers = w.MainForm1->Peers;
    peers.FTPSendForm = ftp;
    peers.OptionsForm = options;
    peers.LinkOptionsForm = link;
    peers.MessageForm = message;
    peers.AlertUploadForm = alertUpload;
    peers.MessageOKCancelForm = okCancel;
    peers.AboutFrm = about;
    peers.MessageCloseForm = close;

    w.MainForm1->SplashMayClose = [splash] { return splash->MayClose(); };
    w.MainForm1->CloseSplash = [splash] {
        splash->close();
        splash->deleteLater();
    };
    return w;
}

void DestroyApplicationWindows(TApplicationWindows& w) {
    // the dialogs are children of the main window and go with it
    delete w.MainForm1;
    w = {};
}
