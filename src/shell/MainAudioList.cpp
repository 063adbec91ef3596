// Step 1's audio source: the list of MP3 files in the MP3 folder, the choice
// between a new and an existing recording, deleting and importing files.

#include "audio/MP3Player.h"
#include "audio/MPEGaudio.h"
#include "publish/FTPSendUnit.h"
#include "shell/MainUnit1.h"
#include "shell/Widgets.h"

#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <filesystem>
#include <system_error>

namespace {
// Forwards the list's keys to the window's handler and notices keyboard
// moves of the selection, which choose a file just as a click does.
class TListKeys : public QObject {
  public:
    explicit TListKeys(TMainForm1* form) : QObject(form), Form(form) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::KeyPress) {
            auto* ke = static_cast<QKeyEvent*>(e);
            if (Form->FilesListKeyDown(ke->key()))
                return true;
            auto* list = static_cast<QListWidget*>(watched);
            const int before = list->currentRow();
            QTimer::singleShot(0, Form, [form = Form, list, before] {
                if (list->currentRow() != before && list->currentItem())
                    form->FilesListClick();
            });
        }
        return QObject::eventFilter(watched, e);
    }

  private:
    TMainForm1* Form;
};

// Copies over an existing file without ever losing it: the copy is made
// beside the target and then renamed over it in one step.
bool ReplaceCopy(const QString& from, const QString& to, QString* why) {
    const QString part = to + ".part";
    QFile::remove(part);
    QFile src(from);
    if (!src.copy(part)) {
        *why = src.errorString();
        QFile::remove(part);
        return false;
    }
    std::error_code ec;
    std::filesystem::rename(QFile::encodeName(part).toStdString(),
                            QFile::encodeName(to).toStdString(), ec);
    if (ec) {
        *why = QString::fromStdString(ec.message());
        QFile::remove(part);
        return false;
    }
    return true;
}
} // namespace

void TMainForm1::WireAudioList() {
    OpenDialog.Title = QStringLiteral("Import .MP3 files");
    OpenDialog.Filter = QStringLiteral("MP3 Files (*.MP3 *.mp3)");
    OpenDialog.DefaultExt = QStringLiteral("MP3");
    OpenDialog.MultiSelect = true;
    connect(FnameEdit, &QLineEdit::textChanged, this, &TMainForm1::FnameEditChange);
    connect(RecRadio, &QRadioButton::clicked, this, &TMainForm1::RecRadioClick);
    connect(PlayRadio, &QRadioButton::clicked, this, &TMainForm1::PlayRadioClick);
    connect(ImportBtn, &QPushButton::clicked, this, &TMainForm1::ImportBtnClick);
    connect(FilesList, &QListWidget::itemClicked, this, [this] { FilesListClick(); });
    FilesList->installEventFilter(new TListKeys(this));
}

QString TMainForm1::ProposeRecordingName() const {
    const QString base = QStringLiteral("My New File Name");
    QString name = base;
    for (int n = 1; QFileInfo::exists(State.Mp3Folder + name + ".mp3"); ++n)
        name = base + ' ' + QString::number(n);
    return name;
}

void TMainForm1::FnameEditChange() {
    State.RecFileName = State.Mp3Folder + FnameEdit->text() + ".mp3";
}

void TMainForm1::RecRadioClick() {
    State.Paused = false;
    FnameEdit->setText(ProposeRecordingName());
    State.RecFileName = State.Mp3Folder + FnameEdit->text() + ".mp3";
    if (Player) {
        if (PlayerPlaying())
            PlayerDo([this] { Player->Stop(); });
        Player->Close();
    }
    FilesList->hide();
    FnameLabel->show();
    FnameEdit->show();
    State.SourceMode = QStringLiteral("rec");
    ShowPlayerBtns(QStringLiteral("rec"));
}

void TMainForm1::PlayRadioClick() {
    State.Paused = false;
    FilesList->show();
    FnameLabel->hide();
    FnameEdit->hide();
    State.SourceMode = QStringLiteral("play");
    ShowPlayerBtns(QStringLiteral("play"));
    QListWidgetItem* item = FilesList->currentItem();
    if (!item || !item->isSelected()) {
        ShowPlayerBtns(QStringLiteral("none"));
    } else {
        State.PlayFileName = State.Mp3Folder + item->text() + ".mp3";
        ShowPlayerBtns(QStringLiteral("play"));
        PlayerDo([this] {
            Player->FileName = State.PlayFileName;
            Player->Open();
        });
    }
    MP3Progress->setValue(0);
}

void TMainForm1::ImportFiles() {
    FilesList->clear();
    State.TempWavName = State.Mp3Folder + "MRL_TMP.WAV";
    QDir dir(State.Mp3Folder);
    // any case of the extension, hidden and system entries included
    const QFileInfoList entries =
        dir.entryInfoList({QStringLiteral("*.mp3")}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo& fi : entries)
        FilesList->addItem(fi.completeBaseName());
    if (State.SelectAfterImport) {
        State.SelectAfterImport = false;
        const auto found = FilesList->findItems(State.ImportedName, Qt::MatchExactly);
        if (!found.isEmpty())
            FilesList->setCurrentItem(found.first());
    }
}

void TMainForm1::FilesListClick() {
    QListWidgetItem* item = FilesList->currentItem();
    if (!item || !item->isSelected())
        return;
    if (PlayerPlaying())
        PlayerDo([this] { Player->Stop(); });
    State.Paused = false;
    State.PlayFileName = State.Mp3Folder + item->text() + ".mp3";
    ShowPlayerBtns(QStringLiteral("play"));
    const bool opened = PlayerDo([this] {
        Player->FileName = State.PlayFileName;
        Player->Open();
    });
    if (!opened)
        return;
    // the published set and the upload belonged to the previous choice
    State.Generated = false;
    GenerateProgress->setValue(0);
    SetUploadOk(false);
}

bool TMainForm1::FilesListKeyDown(int key) {
    if (key == Qt::Key_Delete) {
        DeleteMP3();
        return true;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        QListWidgetItem* item = FilesList->currentItem();
        if (item && item->isSelected() && imgPlay->isEnabled())
            imgPlayClick();
        return true;
    }
    return false;
}

void TMainForm1::DeleteMP3() {
    QListWidgetItem* item = FilesList->currentItem();
    if (!item || !item->isSelected())
        return;
    if (ShowMessage(Msg("MainFormDelFileDlg"), int(TMsgDlgType::mtWarning), mbOK | mbCancel) !=
        mrOk)
        return;
    if (PlayerPlaying())
        PlayerDo([this] { Player->Stop(); });
    ShowPlayerBtns(QStringLiteral("none"));
    if (Player)
        Player->Close();
    if (QFile::remove(State.Mp3Folder + item->text() + ".mp3"))
        delete FilesList->takeItem(FilesList->row(item));
    State.Generated = false;
    GenerateProgress->setValue(0);
    SetUploadOk(false);
}

bool TMainForm1::CheckMp3File(const QString& fileName) {
    TMPEGaudio reader;
    if (reader.ScanFile(fileName) && !reader.IsValid()) {
        ShowMessage(QStringLiteral("\r") + Msg("MainMp3HeaderError"), int(TMsgDlgType::mtError),
                    mbOK);
        return false;
    }
    return true;
}

void TMainForm1::ImportBtnClick() {
    bool ask = true, replaceAll = false;
    State.SelectAfterImport = false;
    OpenDialog.InitialDir = State.ImportPath;
    const QStringList chosen = OpenFilesDialog(this, OpenDialog);
    if (chosen.isEmpty())
        return;
    State.ImportPath = QFileInfo(chosen.first()).absolutePath() + '/';
    for (const QString& file : chosen) {
        const QFileInfo fi(file);
        const QString target = State.Mp3Folder + fi.fileName();
        if (!CheckMp3File(file))
            continue;
        bool copy = true;
        if (QFileInfo::exists(target)) {
            if (ask) {
                switch (ShowMessage(Msg("MainFormFileExistsReplaceDlg"),
                                    int(TMsgDlgType::mtWarning),
                                    mbYes | mbNo | mbCancel | mbNoToAll | mbYesToAll)) {
                case mrYes:
                    break;
                case mrNoToAll:
                    ask = false;
                    replaceAll = false;
                    copy = false;
                    break;
                case mrYesToAll:
                    ask = false;
                    replaceAll = true;
                    break;
                case mrCancel:
                    return; // earlier copies stay; the list shows them at the next refresh
                default:
                    copy = false;
                    break;
                }
            } else {
                copy = replaceAll;
            }
        }
        if (!copy)
            continue;
        QString why;
        if (QFileInfo(file).canonicalFilePath() != QFileInfo(target).canonicalFilePath() &&
            !ReplaceCopy(file, target, &why)) {
            // A copy that did not happen must not pass for an import.
            ShowMessage(QStringLiteral("%1 could not be copied into the MP3 folder: %2")
                            .arg(QDir::toNativeSeparators(file), why),
                        int(TMsgDlgType::mtError), mbOK);
        }
        State.SelectAfterImport = true;
        State.ImportedName = fi.completeBaseName();
    }
    ImportFiles();
}
