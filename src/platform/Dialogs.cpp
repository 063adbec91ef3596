#include "platform/Dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QWidget>

namespace {
TDialogResponder* g_responder = nullptr;

struct ButtonMap {
    TMsgDlgBtn Btn;
    QMessageBox::StandardButton Std;
    int Result;
};
constexpr ButtonMap kButtons[] = {
    {mbYes, QMessageBox::Yes, mrYes},
    {mbNo, QMessageBox::No, mrNo},
    {mbOK, QMessageBox::Ok, mrOk},
    {mbCancel, QMessageBox::Cancel, mrCancel},
    {mbYesToAll, QMessageBox::YesToAll, mrYesToAll},
    {mbNoToAll, QMessageBox::NoToAll, mrNoToAll},
};
} // namespace

void SetDialogResponder(TDialogResponder* responder) {
    g_responder = responder;
}
TDialogResponder* DialogResponder() {
    return g_responder;
}

QString MessageKindCaption(TMsgDlgType kind) {
    switch (kind) {
    case TMsgDlgType::mtWarning:
        return QStringLiteral("Warning");
    case TMsgDlgType::mtError:
        return QStringLiteral("Error");
    case TMsgDlgType::mtInformation:
        return QStringLiteral("Information");
    case TMsgDlgType::mtConfirmation:
        return QStringLiteral("Confirm");
    case TMsgDlgType::mtCustom:
        break;
    }
    return QGuiApplication::applicationDisplayName();
}

int MessageDlgPos(const QString& text, TMsgDlgType kind, TMsgDlgButtons buttons, int x, int y) {
    if (g_responder)
        return g_responder->Message({text, kind, buttons, x, y});

    QMessageBox box;
    box.setWindowTitle(MessageKindCaption(kind));
    // The boxes carry texts with bare carriage returns as line breaks.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QChar('\r'), QChar('\n'));
    box.setText(shown);
    switch (kind) {
    case TMsgDlgType::mtWarning:
        box.setIcon(QMessageBox::Warning);
        break;
    case TMsgDlgType::mtError:
        box.setIcon(QMessageBox::Critical);
        break;
    case TMsgDlgType::mtInformation:
        box.setIcon(QMessageBox::Information);
        break;
    case TMsgDlgType::mtConfirmation:
        box.setIcon(QMessageBox::Question);
        break;
    case TMsgDlgType::mtCustom:
        box.setIcon(QMessageBox::NoIcon);
        break;
    }
    QMessageBox::StandardButtons std;
    for (const auto& b : kButtons)
        if (buttons & b.Btn)
            std |= b.Std;
    if (!std)
        std = QMessageBox::Ok;
    box.setStandardButtons(std);
    // Default button: the first of OK / Yes present, as the standard box does.
    if (buttons & mbOK)
        box.setDefaultButton(QMessageBox::Ok);
    else if (buttons & mbYes)
        box.setDefaultButton(QMessageBox::Yes);

    box.adjustSize();
    if (x >= 0 || y >= 0) {
        QPoint p = box.pos();
        if (x >= 0)
            p.setX(x);
        if (y >= 0)
            p.setY(y);
        box.move(p);
    } else if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect r = box.frameGeometry();
        r.moveCenter(screen->availableGeometry().center());
        box.move(r.topLeft());
    }
    const int pressed = box.exec();
    for (const auto& b : kButtons)
        if (pressed == b.Std)
            return b.Result;
    return (buttons & mbCancel) ? mrCancel : mrNone;
}

QPoint StandardMessagePos(const QRect& frame, int offset) {
    // Integer halves, fraction dropped, as the placement has always been.
    return {frame.left() + frame.width() / 2 - offset, frame.top() + frame.height() / 2 - 30};
}

QPoint StandardMessagePos(const QWidget* window, int offset) {
    return StandardMessagePos(window->frameGeometry(), offset);
}

int ShowAlertModal(QDialog* dialog) {
    if (g_responder) {
        // Run the dialog's own show logic so responders see what a user sees.
        if (dialog->metaObject()->indexOfMethod("FormShow()") >= 0)
            QMetaObject::invokeMethod(dialog, "FormShow", Qt::DirectConnection);
        const int r = g_responder->Alert(dialog);
        dialog->setResult(r);
        return r;
    }
    return dialog->exec();
}

void CentreOn(QWidget* dialog, const QWidget* owner) {
    const QSize size =
        dialog->frameGeometry().size().isValid() ? dialog->frameGeometry().size() : dialog->size();
    QRect ownerFrame = owner ? owner->frameGeometry()
                             : (QGuiApplication::primaryScreen()
                                    ? QGuiApplication::primaryScreen()->availableGeometry()
                                    : QRect(0, 0, 1024, 768));
    QRect r(QPoint(0, 0), size);
    r.moveCenter(ownerFrame.center());
    dialog->move(r.topLeft());
}

QStringList OpenFilesDialog(QWidget* parent, const TOpenFilesCall& call) {
    if (g_responder)
        return g_responder->OpenFiles(call);
    QFileDialog dlg(parent, call.Title, call.InitialDir, call.Filter);
    dlg.setFileMode(call.MultiSelect ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    dlg.setDefaultSuffix(call.DefaultExt);
    dlg.setOption(QFileDialog::ReadOnly, false);
    dlg.setSizeGripEnabled(true);
    if (dlg.exec() != QDialog::Accepted)
        return {};
    return dlg.selectedFiles();
}

QString BrowseFolderDialog(QWidget* parent, const TFolderCall& call) {
    if (g_responder)
        return g_responder->BrowseFolder(call);
    return QFileDialog::getExistingDirectory(parent, call.Title, call.InitialDir);
}
