#pragma once
// The upload window: shows one FTP session's progress and outcome, with the
// protocol log hidden below. Created once at start-up and reused for every
// session, so its wording is loaded once, at creation.

#include <QStringList>
#include <QWidget>

class QFrame;
class QKeyEvent;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QStatusBar;

// Message texts of the upload window, kept for its lifetime. A message of
// several pieces keeps them apart, because some messages put the error code
// between two pieces.
struct TFTPSendMessages {
    QString UploadDoneDlg;
    QString CloseBtn;
    QString ErrorHostConnectDlg;
    QStringList ErrorAuthenticDlg;         // 0..3
    QStringList ErrorDirNotExistsDlg;      // 0..4
    QStringList ErrorSteNameNotCorrectDlg; // 0..3
    QStringList ErrorCanNotOpenConnectDlg; // 0..2, the code goes after piece 0
    QStringList ErrorIncorLocationDlg;     // 0..3
    QStringList ErrorFTPLocNotCorrectDlg;  // 0..2
    QStringList ErrorUploadDlg;            // 0..2, the code goes after piece 0
    QString UploadFilesDlg;
    QString UploadedClickNextDlg;
};

class TFTPSendForm : public QWidget {
    Q_OBJECT
  public:
    static constexpr int LogHiddenHeight = 250;
    static constexpr int LogShownHeight = 500;
    static constexpr int FormWidth = 480;

    explicit TFTPSendForm(QWidget* parent = nullptr);

    void LoadTexts();
    void FormKeyDown(QKeyEvent* e);

    // session data
    QStringList UploadFiles; // full local paths, in sending order
    int FileIndex = 0;
    qint64 FileSize = 0;
    bool UploadOk = false;

    TFTPSendMessages Messages;

    // controls
    QLabel* LMDLabel21 = nullptr; // heading
    QLabel* Label1 = nullptr;     // status line
    QLabel* ErrorLabel = nullptr;
    QLabel* MessageLabel = nullptr;
    QPushButton* CancelBtn = nullptr;
    QStatusBar* StatusBar = nullptr;
    QProgressBar* ProgressBar = nullptr; // first status panel
    QLabel* StatusText = nullptr;        // second status panel: the byte count
    QFrame* BackPanel = nullptr;
    QPlainTextEdit* LogMemo = nullptr;

  protected:
    void keyPressEvent(QKeyEvent* e) override;
};
