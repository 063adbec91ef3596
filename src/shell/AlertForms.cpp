#include "shell/AlertForms.h"

#include "platform/Dialogs.h"
#include "shell/Texts.h"
#include "shell/WizardState.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int kButtonW = 75, kButtonH = 25, kMargin = 24;
}

TAlertFormBase::TAlertFormBase(QWidget* parent, QSize client, QSize panel) : QDialog(parent) {
    setFixedSize(client);
    setModal(true);
    Panel = new QFrame(this);
    Panel->setObjectName(QStringLiteral("Panel"));
    Panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel->setLineWidth(2);
    Panel->setGeometry(kMargin, 16, panel.width(), panel.height());
    MessageLabel = new QLabel(Panel);
    MessageLabel->setObjectName(QStringLiteral("MessageLabel"));
    MessageLabel->setWordWrap(true);
    MessageLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    MessageLabel->setGeometry(7, 7, panel.width() - 14, panel.height() - 14);
    MessageLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);

    NotShowCheckBox = new QCheckBox(this);
    NotShowCheckBox->setObjectName(QStringLiteral("NotShowCheckBox"));
    OkButton = new QPushButton(this);
    OkButton->setObjectName(QStringLiteral("OkButton"));
    OkButton->setDefault(true);
    OkButton->setAutoDefault(true);
    connect(OkButton, &QPushButton::clicked, this, [this] { done(mrOk); });

    // The check box sits right under the panel at the left, the buttons at
    // the lower right just below its line, so its text is never cut short.
    NotShowCheckBox->setGeometry(kMargin, 16 + panel.height() + 5, panel.width(), 20);
}

QRect TAlertFormBase::ButtonRect(int indexFromRight) const {
    const int x = width() - kMargin - kButtonW - indexFromRight * (kButtonW + 8);
    return {x, height() - kButtonH - 6, kButtonW, kButtonH};
}

void TAlertFormBase::FormShow() {
    NotShowCheckBox->setChecked(false);
}

void TAlertFormBase::showEvent(QShowEvent* e) {
    FormShow();
    QDialog::showEvent(e);
}

void TAlertFormBase::closeEvent(QCloseEvent* e) {
    if (!ClosableFromTitleBar) {
        e->ignore();
        return;
    }
    // The close box ends a modal window with Cancel.
    setResult(mrCancel);
    QDialog::closeEvent(e);
}

void TAlertFormBase::keyPressEvent(QKeyEvent* e) {
    // Escape only cancels where there is a Cancel button (handled by that
    // button's shortcut); otherwise it does nothing, as the close box rules say.
    if (e->key() == Qt::Key_Escape) {
        e->accept();
        return;
    }
    QDialog::keyPressEvent(e);
}

TMessageForm::TMessageForm(QWidget* parent)
    : TAlertFormBase(parent, QSize(338, 187), QSize(289, 113)) {
    setObjectName(QStringLiteral("MessageForm"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    OkButton->setGeometry(ButtonRect(0));
    LoadTexts();
}

void TMessageForm::LoadTexts() {
    const TTextCatalogue cat = ProgramCatalogue();
    setWindowTitle(cat.Text("MessageForm", "MessageFormCpt"));
    NotShowCheckBox->setText(cat.Text("MessageForm", "NotShowChk"));
    OkButton->setText(cat.Text("MessageForm", "OkBtn"));
}

TMessageOKCancelForm::TMessageOKCancelForm(QWidget* parent)
    : TAlertFormBase(parent, QSize(421, 208), QSize(374, 134)) {
    setObjectName(QStringLiteral("MessageOKCancelForm"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    Button1 = new QPushButton(this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setAutoDefault(false);
    Button1->setShortcut(QKeySequence(Qt::Key_Escape));
    connect(Button1, &QPushButton::clicked, this, [this] { done(mrCancel); });
    OkButton->setGeometry(ButtonRect(1));
    Button1->setGeometry(ButtonRect(0));
    LoadTexts();
}

void TMessageOKCancelForm::LoadTexts() {
    const TTextCatalogue cat = ProgramCatalogue();
    setWindowTitle(cat.Text("MessageOKCancelForm", "MessageOKCancelFormCpt"));
    NotShowCheckBox->setText(cat.Text("MessageOKCancelForm", "NotShowChk"));
    Button1->setText(cat.Text("MessageOKCancelForm", "CancelBtn"));
    OkButton->setText(cat.Text("MessageOKCancelForm", "OkButton"));
}

TMessageCloseForm::TMessageCloseForm(QWidget* parent)
    : TAlertFormBase(parent, QSize(411, 240), QSize(366, 156)) {
    setObjectName(QStringLiteral("MessageCloseForm"));
    // No title-bar buttons at all: only OK ends it.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    ClosableFromTitleBar = false;
    OkButton->setGeometry(ButtonRect(0));
    LoadTexts();
}

void TMessageCloseForm::LoadTexts() {
    const TTextCatalogue cat = ProgramCatalogue();
    setWindowTitle(cat.Text("MessageOKCancelForm", "MessageOKCancelFormCpt"));
    NotShowCheckBox->setText(cat.Text("MessageOKCancelForm", "NotShowChk"));
    // Same section as the Continue/Cancel dialog, but its own default "OK".
    OkButton->setText(cat.Read("MessageOKCancelForm", "OkButton", QStringLiteral("OK")));
}

TAlertUploadForm::TAlertUploadForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AlertUploadForm"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(327, 214);
    setModal(true);
    AlertUploadLabel = new QLabel(this);
    AlertUploadLabel->setObjectName(QStringLiteral("AlertUploadLabel"));
    AlertUploadLabel->setWordWrap(true);
    AlertUploadLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    AlertUploadLabel->setGeometry(16, 12, 295, 96);
    FtpInfoButton = new QPushButton(this);
    FtpInfoButton->setObjectName(QStringLiteral("FtpInfoButton"));
    FtpInfoButton->setGeometry(56, 114, 215, 25);
    ContinueButton = new QPushButton(this);
    ContinueButton->setObjectName(QStringLiteral("ContinueButton"));
    ContinueButton->setGeometry(56, 146, 215, 25);
    ContinueButton->setDefault(true);
    RemindCheckBox = new QCheckBox(this);
    RemindCheckBox->setObjectName(QStringLiteral("RemindCheckBox"));
    RemindCheckBox->setGeometry(16, 182, 295, 22);
    connect(FtpInfoButton, &QPushButton::clicked, this, &TAlertUploadForm::FtpInfoButtonClick);
    connect(ContinueButton, &QPushButton::clicked, this, &TAlertUploadForm::ContinueButtonClick);
    LoadTexts();
}

void TAlertUploadForm::LoadTexts() {
    const TTextCatalogue cat = ProgramCatalogue();
    setWindowTitle(cat.Text("AlertUploadForm", "AlertUploadFormCpt"));
    FtpInfoButton->setText(cat.Text("AlertUploadForm", "FtpInfoBtn"));
    ContinueButton->setText(cat.Text("AlertUploadForm", "ContinueBtn"));
    RemindCheckBox->setText(cat.Text("AlertUploadForm", "RemindChk"));
}

void TAlertUploadForm::FormShow() {
    RemindCheckBox->setChecked(false);
}

void TAlertUploadForm::showEvent(QShowEvent* e) {
    FormShow();
    QDialog::showEvent(e);
}

void TAlertUploadForm::FtpInfoButtonClick() {
    ReminderChoice = 1;
    done(mrOk);
}

void TAlertUploadForm::ContinueButtonClick() {
    ReminderChoice = 3;
    done(mrOk);
}

int ShowAlert(TAlertFormBase* dialog, bool& flag, const QString& text, QWidget* owner) {
    if (!flag)
        return mrOk;
    dialog->MessageLabel->setText(DisplayText(text));
    dialog->adjustSize();
    CentreOn(dialog, owner);
    const int result = ShowAlertModal(dialog);
    if (dialog->NotShowCheckBox->isChecked())
        flag = false;
    return result;
}

bool ShowUploadReminder(TAlertUploadForm* dialog, bool& flag, const QString& text, QWidget* owner) {
    dialog->AlertUploadLabel->setText(DisplayText(text));
    CentreOn(dialog, owner);
    ShowAlertModal(dialog);
    if (dialog->RemindCheckBox->isChecked())
        flag = false;
    return dialog->ReminderChoice == 3;
}

void ResetAlerts(WizardState& s) {
    s.AlertFtpSettings = s.AlertFileSettings = s.AlertFilesGenerated = s.AlertRecordingComplete =
        s.AlertUploadNotComplete = s.AlertUploadComplete = s.AlertMp3FolderChanged = true;
}
