#include "CatalogueFolder.h"
#include "WindowFit.h"
#include "publish/FTPSendUnit.h"

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <functional>

namespace {
using Texts = TFTPSendMessages;

struct Destination {
    const char* Key;
    std::function<QString(const TFTPSendForm&)> Shown;
};

// Every single-text key of the window and where its text ends up.
const std::vector<Destination>& Destinations() {
    static const std::vector<Destination> d = {
        {"UploadFilesLbl", [](const TFTPSendForm& f) { return f.LMDLabel21->text(); }},
        {"FormCpt", [](const TFTPSendForm& f) { return f.windowTitle(); }},
        {"UploadingWaitLbl", [](const TFTPSendForm& f) { return f.Label1->text(); }},
        {"MessageLbl", [](const TFTPSendForm& f) { return f.ErrorLabel->text(); }},
        {"MessageListLbl", [](const TFTPSendForm& f) { return f.MessageLabel->text(); }},
        {"CancelBtn", [](const TFTPSendForm& f) { return f.CancelBtn->text(); }},
        {"UploadDoneDlg", [](const TFTPSendForm& f) { return f.Messages.UploadDoneDlg; }},
        {"CloseBtn", [](const TFTPSendForm& f) { return f.Messages.CloseBtn; }},
        {"ErrorHostConnectDlg",
         [](const TFTPSendForm& f) { return f.Messages.ErrorHostConnectDlg; }},
        {"UploadFilesDlg", [](const TFTPSendForm& f) { return f.Messages.UploadFilesDlg; }},
        {"UploadedClickNextDlg",
         [](const TFTPSendForm& f) { return f.Messages.UploadedClickNextDlg; }},
    };
    return d;
}

struct PieceMessage {
    const char* Key;
    int Count;
    QStringList Texts::*Pieces;
};

const std::vector<PieceMessage> kPieceMessages = {
    {"ErrorAuthenticDlg", 4, &Texts::ErrorAuthenticDlg},
    {"ErrorDirNotExistsDlg", 5, &Texts::ErrorDirNotExistsDlg},
    {"ErrorSteNameNotCorrectDlg", 4, &Texts::ErrorSteNameNotCorrectDlg},
    {"ErrorCanNotOpenConnectDlg", 3, &Texts::ErrorCanNotOpenConnectDlg},
    {"ErrorIncorLocationDlg", 4, &Texts::ErrorIncorLocationDlg},
    {"ErrorFTPLocNotCorrectDlg", 3, &Texts::ErrorFTPLocNotCorrectDlg},
    {"ErrorUploadDlg", 3, &Texts::ErrorUploadDlg},
};

void PressKey(QWidget* target, int key, Qt::KeyboardModifiers mods) {
    QKeyEvent press(QEvent::KeyPress, key, mods);
    QApplication::sendEvent(target, &press);
}

using UploadWindow = CatalogueFolder;
} // namespace

TEST_F(UploadWindow, WithoutCatalogueShowsTheDesignedWording) {
    TFTPSendForm f;
    EXPECT_EQ(f.windowTitle(), "FTP Upload");
    EXPECT_EQ(f.LMDLabel21->text(), "Uploading Files");
    EXPECT_EQ(f.Label1->text(), "Uploading Files. Please wait at least 20 seconds to connect...");
    EXPECT_EQ(f.ErrorLabel->text(), "Message:");
    EXPECT_EQ(f.MessageLabel->text(), "Files Uploaded!");
    EXPECT_EQ(f.CancelBtn->text(), "Cancel");
    EXPECT_EQ(f.Messages.UploadDoneDlg, "Upload Done! Please click on next to continue.");
    EXPECT_EQ(f.Messages.CloseBtn, "Close");
    // The pieces carry their own blanks: the designed messages read whole
    // once the code goes between the first two.
    const Texts& m = f.Messages;
    EXPECT_EQ(m.ErrorCanNotOpenConnectDlg[0] + "425" + m.ErrorCanNotOpenConnectDlg[1] +
                  m.ErrorCanNotOpenConnectDlg[2],
              "Can't open data connection (425). Check that you are online, if you are, reboot "
              "your PC and try again.");
    EXPECT_EQ(m.ErrorUploadDlg[0] + "421" + m.ErrorUploadDlg[1] + m.ErrorUploadDlg[2],
              "Upload Error (421) - Double check all entries, be sure to ask your hosting "
              "provider for your specific FTP settings.");
    EXPECT_EQ(m.ErrorAuthenticDlg.join(QString()),
              "530 - Error: Authentication error - Double check if the User name and Passwords "
              "you are entering are correct. They are case sensitive. Please check with your "
              "hosting provider to be sure you are entering in the exact FTP login user name and "
              "password assigned by your hosting provider.");
}

TEST_F(UploadWindow, ReadsEveryTextFromItsOwnSection) {
    // Each key gets a value of its own in the window's section, and a decoy in
    // the sections of the other windows.
    QByteArray own = "[FTPUploadForm]\n", decoys;
    for (const Destination& d : Destinations()) {
        own += QByteArray(d.Key) + "=U-" + d.Key + "\n";
        decoys += QByteArray(d.Key) + "=wrong\n";
    }
    for (const PieceMessage& p : kPieceMessages)
        for (int i = 0; i < p.Count; ++i) {
            const QByteArray key = QByteArray(p.Key) + QByteArray::number(i);
            own += key + "=U-" + key + "\n";
            decoys += key + "=wrong\n";
        }
    WriteCatalogue("[Strings]\n" + decoys + "[RecOptionsForm]\n" + decoys + own);

    TFTPSendForm f;
    for (const Destination& d : Destinations())
        EXPECT_EQ(d.Shown(f), QStringLiteral("U-") + d.Key) << d.Key;
    for (const PieceMessage& p : kPieceMessages) {
        const QStringList& pieces = f.Messages.*p.Pieces;
        ASSERT_EQ(pieces.size(), p.Count) << p.Key;
        for (int i = 0; i < p.Count; ++i)
            EXPECT_EQ(pieces[i], QStringLiteral("U-%1%2").arg(p.Key).arg(i));
    }
}

TEST_F(UploadWindow, CaptionAccelerators) {
    WriteCatalogue("[FTPUploadForm]\nUploadFilesLbl=Up && Down\nMessageLbl=\nCancelBtn=&Stop\n");
    TFTPSendForm f;
    EXPECT_EQ(f.LMDLabel21->text(), "Up & Down");
    EXPECT_EQ(f.ErrorLabel->text(), ""); // present but empty: no default
    EXPECT_EQ(f.CancelBtn->text(), "&Stop");
}

TEST_F(UploadWindow, StartsSmallWithTheLogAndMessageHidden) {
    TFTPSendForm f;
    f.show();
    EXPECT_EQ(f.height(), TFTPSendForm::LogHiddenHeight);
    EXPECT_EQ(f.minimumSize(), f.maximumSize());
    EXPECT_FALSE(f.BackPanel->isVisible());
    EXPECT_FALSE(f.ErrorLabel->isVisible());
    EXPECT_FALSE(f.MessageLabel->isVisible());
    EXPECT_TRUE(f.CancelBtn->isVisible());
    EXPECT_FALSE(f.UploadOk);
    EXPECT_TRUE(f.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(f.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(f.windowFlags() & Qt::WindowMaximizeButtonHint);
}

TEST_F(UploadWindow, CtrlAltTTogglesTheLog) {
    struct Case {
        int Key;
        Qt::KeyboardModifiers Mods;
        bool Toggles;
    };
    const Case cases[] = {
        {Qt::Key_T, Qt::ControlModifier | Qt::AltModifier, true},
        {Qt::Key_T, Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier, true},
        {Qt::Key_T, Qt::ControlModifier, false},
        {Qt::Key_T, Qt::AltModifier, false},
        {Qt::Key_Y, Qt::ControlModifier | Qt::AltModifier, false},
    };
    for (const Case& c : cases) {
        TFTPSendForm f;
        f.show();
        f.CancelBtn->setFocus();
        const QPoint cancelAt = f.CancelBtn->mapTo(&f, QPoint());
        // sent to the focused button: the keys must reach the window from any control
        PressKey(f.CancelBtn, c.Key, c.Mods);
        QApplication::processEvents();
        if (!c.Toggles) {
            EXPECT_EQ(f.height(), TFTPSendForm::LogHiddenHeight) << c.Key << " " << c.Mods;
            EXPECT_FALSE(f.BackPanel->isVisible());
            continue;
        }
        EXPECT_EQ(f.height(), TFTPSendForm::LogShownHeight) << c.Mods;
        EXPECT_EQ(f.minimumHeight(), f.maximumHeight());
        EXPECT_TRUE(f.LogMemo->isVisible());
        // the upper part stays in place; the log opens below it, inside the window
        EXPECT_EQ(f.CancelBtn->mapTo(&f, QPoint()), cancelAt);
        const QRect log(f.LogMemo->mapTo(&f, QPoint()), f.LogMemo->size());
        EXPECT_GT(log.top(), cancelAt.y() + f.CancelBtn->height());
        EXPECT_TRUE(f.rect().contains(log));
        EXPECT_GT(log.height(), 150);

        PressKey(f.LogMemo, c.Key, c.Mods);
        QApplication::processEvents();
        EXPECT_EQ(f.height(), TFTPSendForm::LogHiddenHeight);
        EXPECT_FALSE(f.BackPanel->isVisible());
        EXPECT_EQ(f.CancelBtn->mapTo(&f, QPoint()), cancelAt);
    }
}

TEST_F(UploadWindow, LongestDesignedTextsFit) {
    TFTPSendForm f;
    // the longest texts the labels show in a session
    f.MessageLabel->setText(f.Messages.UploadDoneDlg);
    f.ErrorLabel->show();
    f.MessageLabel->show();
    f.show();
    QApplication::processEvents();
    const auto* top = f.findChild<QWidget*>(QStringLiteral("TopPanel"));
    ASSERT_NE(top, nullptr);
    EXPECT_TRUE(LayoutFits(top));
    EXPECT_GE(f.Label1->height(), f.Label1->heightForWidth(f.Label1->width()));
    EXPECT_GE(f.LMDLabel21->width(), f.LMDLabel21->sizeHint().width());
    EXPECT_GE(f.MessageLabel->height(), f.MessageLabel->heightForWidth(f.MessageLabel->width()));
}
