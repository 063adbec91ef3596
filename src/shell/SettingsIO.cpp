#include "shell/SettingsIO.h"

#include <QStringList>

namespace {

const QString kSettings = QStringLiteral("Settings");
const QString kDefaults = QStringLiteral("Defaults");
const QString kAlerts = QStringLiteral("Alerts");

// The seven alert flags in their saved order.
struct AlertFlag {
    const char* Name;
    bool WizardState::*Field;
};
constexpr AlertFlag kAlertFlags[] = {
    {"FTP Settings", &WizardState::AlertFtpSettings},
    {"File Settings", &WizardState::AlertFileSettings},
    {"Files Generated", &WizardState::AlertFilesGenerated},
    {"Recording Complete", &WizardState::AlertRecordingComplete},
    {"Upload Not Complete", &WizardState::AlertUploadNotComplete},
    {"Upload Complete", &WizardState::AlertUploadComplete},
    {"MP3 Folder Changed", &WizardState::AlertMp3FolderChanged},
};

QString WithSeparator(const QString& folder) {
    return folder.endsWith(u'/') || folder.endsWith(u'\\') ? folder : folder + u'/';
}

} // namespace

void LoadFolders(const TSettingsStore& store, WizardState& state, const QString& exeFolder) {
    const QString exe = WithSeparator(exeFolder);
    state.SwfFolder = exe + QLatin1String("SWF/");
    state.Mp3Folder =
        store.ReadString(kSettings, QStringLiteral("MP3Path"), exe + QLatin1String("MP3/"));
    state.GenFolder =
        store.ReadString(kSettings, QStringLiteral("MRLPath"), exe + QLatin1String("MRL/"));
}

void LoadRecordingFormat(const TSettingsStore& store, WizardState& state) {
    state.DefSampleRate = store.ReadInteger(kDefaults, QStringLiteral("HZ"), 22050);
    state.DefChannels = store.ReadInteger(kDefaults, QStringLiteral("Channels"), 1);
    state.DefBitRate = store.ReadInteger(kDefaults, QStringLiteral("BitRate"), 32);
    state.MpegVersion = 1;
    state.SampleRate = store.ReadInteger(kSettings, QStringLiteral("HZ"), state.DefSampleRate);
    state.SampleBits = 16;
    state.Channels = store.ReadInteger(kSettings, QStringLiteral("Channels"), state.DefChannels);
    state.BitRate = store.ReadInteger(kSettings, QStringLiteral("BitRate"), state.DefBitRate);
    // the low rates go only with 11025 Hz
    if (state.SampleRate != 11025 && state.BitRate < 32)
        state.BitRate = 32;
}

void LoadAccountsAndOptions(
    const TSettingsStore& store, WizardState& state,
    const std::function<void(const QString& name, bool value)>& playerFlagRead) {
    auto text = [&](const char* name) {
        return store.ReadString(kSettings, QLatin1String(name), {});
    };
    state.FtpHost = text("FTP");
    state.FtpUser = text("User");
    state.FtpPass = text("Pass");
    state.FtpFolder = text("Folder");
    state.FtpUrl = text("URL");
    state.HostedUser = text("UserMRL");
    state.HostedPass = text("PassMRL");
    state.HostedUrl = text("URLMRL");
    state.HostedFolder = text("FolderMRL");
    state.Affiliate = text("Affiliate");
    state.Reseller = store.ReadBool(kSettings, QStringLiteral("Reseller"), false);
    state.RemoveLink = store.ReadBool(kSettings, QStringLiteral("Link"), false);
    state.ImportPath = text("ImportPath");

    auto flag = [&](const char* name, bool def, bool& field) {
        field = store.ReadBool(kSettings, QLatin1String(name), def);
        if (playerFlagRead)
            playerFlagRead(QLatin1String(name), field);
    };
    flag("PlayBtn", true, state.PlayBtn);
    flag("StopBtn", true, state.StopBtn);
    flag("PauseBtn", true, state.PauseBtn);
    flag("AutoStart", false, state.AutoStart);

    // read under this spelling, saved as "FilesCopyPath": names are case-blind
    state.FilesCopyPath = text("filescopypath");

    for (const AlertFlag& a : kAlertFlags)
        state.*a.Field = store.ReadBool(kAlerts, QLatin1String(a.Name), true);
}

bool SaveSettings(TSettingsStore& store, const WizardState& state, bool maximised) {
    bool ok = true;
    auto integer = [&](const char* name, int v) {
        ok = store.WriteInteger(kSettings, QLatin1String(name), v) && ok;
    };
    auto text = [&](const char* name, const QString& v) {
        ok = store.WriteString(kSettings, QLatin1String(name), v) && ok;
    };
    auto boolean = [&](const char* name, bool v) {
        ok = store.WriteBool(kSettings, QLatin1String(name), v) && ok;
    };
    integer("HZ", state.SampleRate);
    integer("Res", state.SampleBits);
    integer("Channels", state.Channels);
    integer("BitRate", state.BitRate);
    integer("WS", maximised ? 2 : 0);
    text("FTP", state.FtpHost);
    text("User", state.FtpUser);
    text("Pass", state.FtpPass);
    text("Folder", state.FtpFolder);
    text("URL", state.FtpUrl);
    text("UserMRL", state.HostedUser);
    text("PassMRL", state.HostedPass);
    text("FolderMRL", state.HostedFolder);
    text("URLMRL", state.HostedUrl);
    text("Affiliate", state.Affiliate);
    text("MP3Path", state.Mp3Folder);
    text("MRLPath", state.GenFolder);
    boolean("Reseller", state.Reseller);
    boolean("Link", state.RemoveLink);
    text("ImportPath", state.ImportPath);
    boolean("PlayBtn", state.PlayBtn);
    boolean("StopBtn", state.StopBtn);
    boolean("PauseBtn", state.PauseBtn);
    boolean("AutoStart", state.AutoStart);
    text("FilesCopyPath", state.FilesCopyPath);
    for (const AlertFlag& a : kAlertFlags)
        ok = store.WriteBool(kAlerts, QLatin1String(a.Name), state.*a.Field) && ok;
    return ok;
}

int ReadWindowStateWS(const TSettingsStore& store) {
    return store.ReadInteger(kSettings, QStringLiteral("WS"), 0);
}

bool ShowMorePlayersLink(const TSettingsStore& store) {
    return store.ReadString(kSettings, QStringLiteral("ShowMorePlayersLink"),
                            QStringLiteral("0")) == QLatin1String("1");
}

std::optional<QRect> ParseWindowValue(const QString& text) {
    const QStringList parts = text.split(u',');
    if (parts.size() != 7 || parts[0] != QLatin1String("200"))
        return std::nullopt;
    int v[4];
    for (int i = 0; i < 4; ++i)
        if (!TSettingsStore::ParseInteger(parts[3 + i], v[i]))
            return std::nullopt;
    const qint64 w = qint64(v[2]) - v[0];
    const qint64 h = qint64(v[3]) - v[1];
    if (w <= 0 || h <= 0 || w > INT_MAX || h > INT_MAX)
        return std::nullopt;
    return QRect(v[0], v[1], int(w), int(h));
}

QRect FitOnDesktop(QRect r, QSize desktop) {
    if (qint64(r.x()) + r.width() > desktop.width())
        r.moveLeft(desktop.width() - r.width());
    if (qint64(r.y()) + r.height() > desktop.height())
        r.moveTop(desktop.height() - r.height());
    // a window wider than the desktop, or one left on a screen that is gone,
    // would otherwise open with its title bar out of reach
    if (r.x() < 0)
        r.moveLeft(0);
    if (r.y() < 0)
        r.moveTop(0);
    return r;
}

QString FormatWindowValue(int flags, int showCmd, QRect r) {
    return QStringLiteral("200,%1,%2,%3,%4,%5,%6")
        .arg(flags)
        .arg(showCmd)
        .arg(r.x())
        .arg(r.y())
        .arg(qint64(r.x()) + r.width())
        .arg(qint64(r.y()) + r.height());
}
