#include "publish/FTPSendUnit.h"

#include "shell/Texts.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {
const QString kSection = QStringLiteral("FTPUploadForm");
constexpr const char* kWindow = "TFTPSendForm";

// Catalogue texts are shown literally; a server reply or a translated text
// must never be taken for markup.
QLabel* PlainLabel(const QString& name, QWidget* parent) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setTextFormat(Qt::PlainText);
    return l;
}
} // namespace

TFTPSendForm::TFTPSendForm(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("FTPSendForm"));
    // Fixed single border with only a close box, above every other window so
    // the progress stays in sight while the user works elsewhere.
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);

    auto* content = new QWidget(this);
    content->setObjectName(QStringLiteral("TopPanel"));
    auto* top = new QVBoxLayout(content);
    top->setContentsMargins(16, 12, 16, 8);
    top->setSpacing(8);

    LMDLabel21 = PlainLabel(QStringLiteral("LMDLabel21"), content);
    QFont heading = LMDLabel21->font();
    heading.setBold(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.6);
    LMDLabel21->setFont(heading);
    top->addWidget(LMDLabel21);

    Label1 = PlainLabel(QStringLiteral("Label1"), content);
    Label1->setWordWrap(true);
    top->addWidget(Label1);

    auto* messageRow = new QHBoxLayout;
    ErrorLabel = PlainLabel(QStringLiteral("ErrorLabel"), content);
    ErrorLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    MessageLabel = PlainLabel(QStringLiteral("MessageLabel"), content);
    MessageLabel->setWordWrap(true);
    MessageLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    MessageLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont bold = MessageLabel->font();
    bold.setBold(true);
    MessageLabel->setFont(bold);
    messageRow->addWidget(ErrorLabel, 0, Qt::AlignTop);
    messageRow->addWidget(MessageLabel, 1);
    top->addLayout(messageRow);
    top->addStretch(1);

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    CancelBtn = new QPushButton(content);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    CancelBtn->setMinimumWidth(90);
    buttonRow->addWidget(CancelBtn);
    top->addLayout(buttonRow);

    BackPanel = new QFrame(this);
    BackPanel->setObjectName(QStringLiteral("BackPanel"));
    BackPanel->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    auto* back = new QVBoxLayout(BackPanel);
    back->setContentsMargins(4, 4, 4, 4);
    LogMemo = new QPlainTextEdit(BackPanel);
    LogMemo->setObjectName(QStringLiteral("LogMemo"));
    LogMemo->setReadOnly(true);
    LogMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    LogMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    back->addWidget(LogMemo);

    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    StatusBar->setSizeGripEnabled(false);
    ProgressBar = new QProgressBar(StatusBar);
    ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
    ProgressBar->setTextVisible(false);
    ProgressBar->setRange(0, 100);
    ProgressBar->setValue(0);
    ProgressBar->setFixedWidth(FormWidth / 2);
    StatusText = PlainLabel(QStringLiteral("StatusText"), StatusBar);
    StatusBar->addWidget(ProgressBar);
    StatusBar->addWidget(StatusText, 1);

    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);
    root->addWidget(content);
    root->addWidget(BackPanel, 1);
    root->addWidget(StatusBar);

    // The upper part keeps its place whether or not the log is revealed below it.
    content->setFixedHeight(LogHiddenHeight - StatusBar->sizeHint().height());
    setFixedSize(FormWidth, LogHiddenHeight);
    BackPanel->hide();
    ErrorLabel->hide();
    MessageLabel->hide();

    UploadOk = false;
    LoadTexts();
}

void TFTPSendForm::LoadTexts() {
    const TTextCatalogue cat = ProgramCatalogue();
    const auto text = [&cat](const char* key) {
        return cat.Text(kSection, QLatin1String(key), kWindow);
    };
    const auto pieces = [&cat](const char* key, int count) {
        QStringList parts;
        for (int i = 0; i < count; ++i)
            parts << cat.Text(kSection, QLatin1String(key) + QString::number(i), kWindow);
        return parts;
    };

    LMDLabel21->setText(LabelText(text("UploadFilesLbl")));
    setWindowTitle(text("FormCpt"));
    Label1->setText(LabelText(text("UploadingWaitLbl")));
    ErrorLabel->setText(LabelText(text("MessageLbl")));
    MessageLabel->setText(LabelText(text("MessageListLbl")));
    CancelBtn->setText(text("CancelBtn"));

    Messages.UploadDoneDlg = text("UploadDoneDlg");
    Messages.CloseBtn = text("CloseBtn");
    Messages.ErrorHostConnectDlg = text("ErrorHostConnectDlg");
    Messages.ErrorAuthenticDlg = pieces("ErrorAuthenticDlg", 4);
    Messages.ErrorDirNotExistsDlg = pieces("ErrorDirNotExistsDlg", 5);
    Messages.ErrorSteNameNotCorrectDlg = pieces("ErrorSteNameNotCorrectDlg", 4);
    Messages.ErrorCanNotOpenConnectDlg = pieces("ErrorCanNotOpenConnectDlg", 3);
    Messages.ErrorIncorLocationDlg = pieces("ErrorIncorLocationDlg", 4);
    Messages.ErrorFTPLocNotCorrectDlg = pieces("ErrorFTPLocNotCorrectDlg", 3);
    Messages.ErrorUploadDlg = pieces("ErrorUploadDlg", 3);
    Messages.UploadFilesDlg = text("UploadFilesDlg");
    Messages.UploadedClickNextDlg = text("UploadedClickNextDlg");
}

void TFTPSendForm::FormKeyDown(QKeyEvent* e) {
    // Ctrl+Alt+T reveals or hides the protocol log; Shift does not matter.
    const Qt::KeyboardModifiers mods = e->modifiers();
    if (e->key() != Qt::Key_T || !(mods & Qt::ControlModifier) || !(mods & Qt::AltModifier)) {
        e->ignore();
        return;
    }
    e->accept();
    if (height() >= 260) {
        BackPanel->hide();
        setFixedHeight(LogHiddenHeight);
    } else {
        setFixedHeight(LogShownHeight);
        BackPanel->show();
    }
}

void TFTPSendForm::keyPressEvent(QKeyEvent* e) {
    FormKeyDown(e);
    if (!e->isAccepted())
        QWidget::keyPressEvent(e);
}
