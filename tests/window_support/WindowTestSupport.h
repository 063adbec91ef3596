#pragma once
// Window tests answer every box and file dialog through a responder that
// records what was shown, run in a program folder and a settings folder of
// their own, and never block.

#include "platform/Dialogs.h"
#include "platform/Launcher.h"

#include <QDialog>
#include <QString>
#include <QTemporaryDir>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

struct TRecordedAlert {
    QString ClassName;
    QString Text;
};

class TRecordingResponder : public TDialogResponder {
  public:
    std::vector<TMessageCall> Messages;
    std::vector<TRecordedAlert> Alerts;
    std::vector<TOpenFilesCall> FileDialogs;
    std::vector<TFolderCall> FolderDialogs;

    // queued answers; an empty queue answers OK / nothing
    std::deque<int> MessageAnswers;
    std::deque<std::function<int(QDialog*)>> AlertActions;
    std::deque<QStringList> FileAnswers;
    std::deque<QString> FolderAnswers;

    int Message(const TMessageCall& call) override;
    int Alert(QDialog* dialog) override;
    QStringList OpenFiles(const TOpenFilesCall& call) override;
    QString BrowseFolder(const TFolderCall& call) override;
};

struct TLaunch {
    QString Target;
    Launcher::Kind Kind;
};

// Base fixture: a program folder with MP3/, MRL/, SWF/ and help/, an empty
// settings folder (XDG_CONFIG_HOME), the responder and the launcher hook.
class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    QString ProgramDir() const; // ends with '/'
    QString Mp3Dir() const { return ProgramDir() + "MP3/"; }
    QString GenDir() const { return ProgramDir() + "MRL/"; }
    QString SettingsFile() const;
    void WriteCatalogue(const QByteArray& iniText);
    void WriteSettings(const QByteArray& storeText);
    void Touch(const QString& path, const QByteArray& bytes = "x");

    TRecordingResponder Responder;
    std::vector<TLaunch> Launches;

  private:
    QTemporaryDir Program, Config;
};
