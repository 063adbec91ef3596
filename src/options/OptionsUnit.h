#pragma once
// The options dialog: the two working folders, the recording format and the
// FTP account on three pages, each page with its own named-settings controls.
// Created once at start-up and shown modally whenever the wizard asks for a page.

#include <QDialog>
#include <array>

class QAbstractButton;
class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QToolButton;
class QVBoxLayout;

// Message texts of the options dialog, kept for its lifetime.
struct TOptionsMessages {
    QString ErrorInvalidMp3PathDlg;
    QString ErrorInvalidGenFilesPathDlg;
    QString ChangePathDlg; // the eight pieces, joined
    QString SelMp3FolderDlg;
    QString SelGenFilesFolderDlg;
    QString FoldersDlg;
    QString RecOptionsDlg;
    QString FTPOptionsDlg;
    QString ErrorMustEnterNameDlg;
    QString ErrorCannotDelNameDlg;
};

class TOptionsForm : public QDialog {
    Q_OBJECT
  public:
    enum Page { FoldersPage = 0, RecordingPage = 1, FtpPage = 2 };

    explicit TOptionsForm(QWidget* parent = nullptr);

    void LoadTexts();

    // The wizard selects the page to show through these before showing the dialog.
    void FoldersBtnClick();
    void RecordingBtnClick();
    void FTPBtnClick();

    // dialog state (a copy of the main window's values while the dialog is open)
    int DlgSampleRate = 22050;
    int DlgSampleBits = 16;
    int DlgChannels = 1;
    int DlgBitRate = 32;
    QString ProfileName;
    bool ProfilesListed = false;

    TOptionsMessages Messages;

    // heading strip and button bar
    QLabel* Logo = nullptr;
    QLabel* OptionsLabel = nullptr;
    QToolButton* FoldersBtn = nullptr;
    QToolButton* RecordingBtn = nullptr;
    QToolButton* FTPBtn = nullptr;
    QButtonGroup* PageButtons = nullptr;
    QPushButton* ResetBtn = nullptr;
    QLabel* ImgHelp11 = nullptr;
    QStackedWidget* PageControl = nullptr;
    QWidget* Step0 = nullptr;
    QWidget* Step1 = nullptr;
    QWidget* Step2 = nullptr;

    // folders page
    QLabel* MP3FolderLbl = nullptr;
    QLineEdit* MP3Edit = nullptr;
    QPushButton* MP3Btn0 = nullptr;
    QLabel* imgHelp9 = nullptr;
    QLabel* GenFilesFolderLbl = nullptr;
    QLineEdit* ZEPEdit = nullptr;
    QPushButton* ZEPBtn0 = nullptr;
    QLabel* imgHelp10 = nullptr;
    QLabel* LMDLabel1 = nullptr;

    // recording page
    QLabel* BitRateLbl = nullptr;
    QComboBox* bitRateCombo = nullptr;
    QGroupBox* ChannelGrp = nullptr;
    QRadioButton* chan1Radio = nullptr;
    QRadioButton* Chan2Radio = nullptr;
    QGroupBox* SamRateGrp = nullptr;
    QRadioButton* hz44100radio = nullptr;
    QRadioButton* hz22050Radio = nullptr;
    QRadioButton* hz11025Radio = nullptr;
    QPushButton* DefaultsBtn1 = nullptr;

    // FTP page
    QLabel* Label4 = nullptr; // FTP site name
    QLabel* FTPLabel = nullptr;
    QLineEdit* FTPEdit = nullptr;
    QLabel* imgHelp4 = nullptr;
    QLabel* LMDLabel24 = nullptr; // user name
    QLineEdit* UserEdit = nullptr;
    QLabel* imgHelp5 = nullptr;
    QLabel* PassLabel = nullptr;
    QLineEdit* PassEdit = nullptr;
    QLabel* imgHelp6 = nullptr;
    QLabel* Label7 = nullptr; // folder to publish into
    QLineEdit* FolderEdit = nullptr;
    QLabel* imgHelp7 = nullptr;
    QLabel* Label8 = nullptr; // URL to this folder
    QLabel* HTTPLabel = nullptr;
    QLineEdit* URLEdit = nullptr;
    QLabel* imgHelp8 = nullptr;

    // on every page, indexed by page
    std::array<QGroupBox*, 3> SettingsGroup{};
    std::array<QLabel*, 3> SettingsLbl{};
    std::array<QComboBox*, 3> SettingsCombo{};
    std::array<QPushButton*, 3> SaveBtn{};
    std::array<QPushButton*, 3> DeleteBtn{};
    std::array<QPushButton*, 3> OKBtn{};
    std::array<QPushButton*, 3> CancelBtn{};

  public slots:
    void reject() override; // Escape and the close box count as Cancel

  private:
    void ShowPage(Page page, const QString& heading);
    QWidget* BuildFoldersPage();
    QWidget* BuildRecordingPage();
    QWidget* BuildFtpPage();
    void AddPageFooter(QWidget* page, QVBoxLayout* layout, int index);
};
