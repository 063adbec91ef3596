#pragma once
// The advice dialogs that a user may turn off ("don't show me this message
// again"), and the upload reminder. Each is created once at start and shown
// modally whenever its advice is due.

#include <QDialog>

class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;

// Common frame: a bevelled panel with the message, the check box at the lower
// left and the buttons at the lower right.
class TAlertFormBase : public QDialog {
    Q_OBJECT
  public:
    QFrame* Panel = nullptr;
    QLabel* MessageLabel = nullptr;
    QCheckBox* NotShowCheckBox = nullptr;
    QPushButton* OkButton = nullptr;

    Q_INVOKABLE void FormShow();

  protected:
    TAlertFormBase(QWidget* parent, QSize client, QSize panel);
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    // Where a button of the lower-right row goes, counted from the right.
    QRect ButtonRect(int indexFromRight) const;
    bool ClosableFromTitleBar = true;
};

class TMessageForm : public TAlertFormBase {
    Q_OBJECT
  public:
    explicit TMessageForm(QWidget* parent = nullptr);
    void LoadTexts();
};

class TMessageOKCancelForm : public TAlertFormBase {
    Q_OBJECT
  public:
    explicit TMessageOKCancelForm(QWidget* parent = nullptr);
    void LoadTexts();
    QPushButton* Button1 = nullptr; // Cancel
};

class TMessageCloseForm : public TAlertFormBase {
    Q_OBJECT
  public:
    explicit TMessageCloseForm(QWidget* parent = nullptr);
    void LoadTexts();
};

class TAlertUploadForm : public QDialog {
    Q_OBJECT
  public:
    explicit TAlertUploadForm(QWidget* parent = nullptr);
    void LoadTexts();

    QLabel* AlertUploadLabel = nullptr;
    QPushButton* FtpInfoButton = nullptr;
    QPushButton* ContinueButton = nullptr;
    QCheckBox* RemindCheckBox = nullptr;
    // 0 until a choice was made, 1 "enter my ftp info", 3 "continue"; closing
    // with the close box keeps the previous choice.
    int ReminderChoice = 0;

    Q_INVOKABLE void FormShow();
    void FtpInfoButtonClick();
    void ContinueButtonClick();

  protected:
    void showEvent(QShowEvent* e) override;
};

// The alert protocol: shows `dialog` with `text` only while `flag` is true,
// centred on `owner`; a ticked check box turns the flag off whatever closed
// the dialog. Returns the modal result, or mrOk when the alert is off.
int ShowAlert(TAlertFormBase* dialog, bool& flag, const QString& text, QWidget* owner);

// The reminder protocol: true when the user chose to go on.
bool ShowUploadReminder(TAlertUploadForm* dialog, bool& flag, const QString& text, QWidget* owner);

struct WizardState;
// Brings every alert back (the options dialog's Reset button).
void ResetAlerts(WizardState& state);
