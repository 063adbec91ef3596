#include "WindowTestSupport.h"

#include "platform/ProgramFolder.h"

#include <QDir>
#include <QFile>

int TRecordingResponder::Message(const TMessageCall& call) {
    Messages.push_back(call);
    if (MessageAnswers.empty())
        return (call.Buttons & mbOK) ? mrOk : mrYes;
    const int a = MessageAnswers.front();
    MessageAnswers.pop_front();
    return a;
}

int TRecordingResponder::Alert(QDialog* dialog) {
    QString text;
    for (const char* name : {"MessageLabel", "AlertUploadLabel"})
        if (auto* l = dialog->findChild<QObject*>(QString::fromLatin1(name)))
            text = l->property("text").toString();
    Alerts.push_back({QString::fromLatin1(dialog->metaObject()->className()), text});
    if (AlertActions.empty())
        return mrOk;
    auto action = std::move(AlertActions.front());
    AlertActions.pop_front();
    return action(dialog);
}

QStringList TRecordingResponder::OpenFiles(const TOpenFilesCall& call) {
    FileDialogs.push_back(call);
    if (FileAnswers.empty())
        return {};
    QStringList a = FileAnswers.front();
    FileAnswers.pop_front();
    return a;
}

QString TRecordingResponder::BrowseFolder(const TFolderCall& call) {
    FolderDialogs.push_back(call);
    if (FolderAnswers.empty())
        return {};
    QString a = FolderAnswers.front();
    FolderAnswers.pop_front();
    return a;
}

void WindowTest::SetUp() {
    ASSERT_TRUE(Program.isValid());
    ASSERT_TRUE(Config.isValid());
    for (const char* sub : {"MP3", "MRL", "SWF", "help"})
        QDir(Program.path()).mkpath(QString::fromLatin1(sub));
    SetProgramFolderForTests(Program.path());
    qputenv("XDG_CONFIG_HOME", Config.path().toLocal8Bit());
    SetDialogResponder(&Responder);
    Launcher::SetHook([this](const QString& target, Launcher::Kind kind) {
        Launches.push_back({target, kind});
        return true;
    });
}

void WindowTest::TearDown() {
    SetDialogResponder(nullptr);
    Launcher::SetHook({});
    SetProgramFolderForTests({});
}

QString WindowTest::ProgramDir() const {
    return Program.path() + '/';
}

QString WindowTest::SettingsFile() const {
    return Config.path() + "/Vantrel Software/Murmelo.net.reg";
}

void WindowTest::Touch(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

void WindowTest::WriteCatalogue(const QByteArray& iniText) {
    Touch(ProgramDir() + "English.ini", iniText);
}

void WindowTest::WriteSettings(const QByteArray& storeText) {
    Touch(SettingsFile(), storeText);
}
