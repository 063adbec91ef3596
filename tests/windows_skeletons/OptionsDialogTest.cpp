#include "CatalogueFolder.h"
#include "WindowFit.h"
#include "options/OptionsUnit.h"
#include "platform/Dialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QToolButton>
#include <functional>

namespace {
struct Destination {
    const char* Section;
    const char* Key;
    std::function<QString(const TOptionsForm&)> Shown;
};

// Single-text keys and where their text ends up; the per-page controls are
// checked on every page.
const std::vector<Destination>& Destinations() {
    using F = const TOptionsForm&;
    static const std::vector<Destination> d = {
        {"RecOptionsForm", "RecOptionsLbl", [](F f) { return f.OptionsLabel->text(); }},
        {"RecOptionsForm", "FoldersBtn", [](F f) { return f.FoldersBtn->text(); }},
        {"RecOptionsForm", "FTPBtn", [](F f) { return f.FTPBtn->text(); }},
        {"RecOptionsForm", "ResetBtn", [](F f) { return f.ResetBtn->text(); }},
        {"RecOptionsForm", "SaveBtn", [](F f) { return f.SaveBtn[0]->text(); }},
        {"RecOptionsForm", "SaveBtn", [](F f) { return f.SaveBtn[2]->text(); }},
        {"RecOptionsForm", "DeleteBtn", [](F f) { return f.DeleteBtn[1]->text(); }},
        {"RecOptionsForm", "CancelBtn", [](F f) { return f.CancelBtn[0]->text(); }},
        {"RecOptionsForm", "CancelBtn", [](F f) { return f.CancelBtn[2]->text(); }},
        {"RecOptionsForm", "OKBtn", [](F f) { return f.OKBtn[1]->text(); }},
        {"RecOptionsForm", "SettingsLbl", [](F f) { return f.SettingsLbl[0]->text(); }},
        {"RecOptionsForm", "SettingsLbl", [](F f) { return f.SettingsLbl[2]->text(); }},
        {"RecOptionsForm", "MP3FolderLbl", [](F f) { return f.MP3FolderLbl->text(); }},
        {"RecOptionsForm", "GenFilesFolderLbl", [](F f) { return f.GenFilesFolderLbl->text(); }},
        {"RecOptionsForm", "MP3FilesimgHelpHint", [](F f) { return f.imgHelp9->toolTip(); }},
        {"RecOptionsForm", "GenFilesimgHelpHint", [](F f) { return f.imgHelp10->toolTip(); }},
        {"RecOptionsForm", "BitRateLbl", [](F f) { return f.BitRateLbl->text(); }},
        {"RecOptionsForm", "ChannelGrp", [](F f) { return f.ChannelGrp->title(); }},
        {"RecOptionsForm", "MonoRadGrp", [](F f) { return f.chan1Radio->text(); }},
        {"RecOptionsForm", "StereoRadGrp", [](F f) { return f.Chan2Radio->text(); }},
        {"RecOptionsForm", "SamRateGrp", [](F f) { return f.SamRateGrp->title(); }},
        {"RecOptionsForm", "DefBtn", [](F f) { return f.DefaultsBtn1->text(); }},
        {"RecOptionsForm", "UserNameimgHelpHint", [](F f) { return f.imgHelp5->toolTip(); }},
        {"RecOptionsForm", "PasswimgHelpHint", [](F f) { return f.imgHelp6->toolTip(); }},
        {"RecOptionsForm", "ErrorInvalidMp3PathDlg",
         [](F f) { return f.Messages.ErrorInvalidMp3PathDlg; }},
        {"RecOptionsForm", "ErrorInvalidGenFilesPathDlg",
         [](F f) { return f.Messages.ErrorInvalidGenFilesPathDlg; }},
        {"RecOptionsForm", "SelMp3FolderDlg", [](F f) { return f.Messages.SelMp3FolderDlg; }},
        {"RecOptionsForm", "SelGenFilesFolderDlg",
         [](F f) { return f.Messages.SelGenFilesFolderDlg; }},
        {"RecOptionsForm", "FoldersDlg", [](F f) { return f.Messages.FoldersDlg; }},
        {"RecOptionsForm", "RecOptionsDlg", [](F f) { return f.Messages.RecOptionsDlg; }},
        {"RecOptionsForm", "FTPOptionsDlg", [](F f) { return f.Messages.FTPOptionsDlg; }},
        {"RecOptionsForm", "ErrorMustEnterNameDlg",
         [](F f) { return f.Messages.ErrorMustEnterNameDlg; }},
        {"RecOptionsForm", "ErrorCannotDelNameDlg",
         [](F f) { return f.Messages.ErrorCannotDelNameDlg; }},
        {"Strings", "Step4FTPLbl", [](F f) { return f.FTPLabel->text(); }},
        {"Strings", "Step4HTTPLbl", [](F f) { return f.HTTPLabel->text(); }},
        {"Strings", "Step4FtpSiteNameLbl", [](F f) { return f.Label4->text(); }},
        {"Strings", "Step4UserNameLbl", [](F f) { return f.LMDLabel24->text(); }},
        {"Strings", "Step4PasswLbl", [](F f) { return f.PassLabel->text(); }},
        {"Strings", "Step4FolderLbl", [](F f) { return f.Label7->text(); }},
        {"Strings", "Step4UrlLbl", [](F f) { return f.Label8->text(); }},
        {"Strings", "Step4UrlimgHelpHint", [](F f) { return f.imgHelp8->toolTip(); }},
    };
    return d;
}

// Keys whose text is joined from parts.
const char* const kPartKeys[][2] = {
    {"RecOptionsForm", "AreaCommentLbl0"},       {"RecOptionsForm", "AreaCommentLbl1"},
    {"RecOptionsForm", "ResetAllimgHelpHint0"},  {"Strings", "ResetAllimgHelpHint1"},
    {"Strings", "Step4FtpSiteNameimgHelpHint0"}, {"Strings", "Step4FtpSiteNameimgHelpHint1"},
    {"Strings", "Step4FolderimgHelpHint0"},      {"Strings", "Step4FolderimgHelpHint1"},
    {"Strings", "Step4FolderimgHelpHint2"},      {"RecOptionsForm", "ChangePathDlg0"},
    {"RecOptionsForm", "ChangePathDlg1"},        {"RecOptionsForm", "ChangePathDlg2"},
    {"RecOptionsForm", "ChangePathDlg3"},        {"RecOptionsForm", "ChangePathDlg4"},
    {"RecOptionsForm", "ChangePathDlg5"},        {"RecOptionsForm", "ChangePathDlg6"},
    {"RecOptionsForm", "ChangePathDlg7"},
};

QString Own(const char* section, const char* key) {
    return QStringLiteral("%1-%2").arg(QLatin1String(section).left(1), QLatin1String(key));
}

// Every key with a value of its own in its section, and a decoy in each
// other section the program knows.
QByteArray OwnAndDecoys() {
    QMap<QByteArray, QByteArray> sections;
    const auto add = [&](const char* section, const char* key) {
        for (const char* s : {"Strings", "RecOptionsForm", "FTPUploadForm"}) {
            const QByteArray value =
                qstrcmp(s, section) == 0 ? Own(section, key).toUtf8() : "wrong";
            sections[s] += QByteArray(key) + "=" + value + "\n";
        }
    };
    for (const Destination& d : Destinations())
        add(d.Section, d.Key);
    for (const auto& p : kPartKeys)
        add(p[0], p[1]);
    QByteArray ini;
    for (auto it = sections.begin(); it != sections.end(); ++it)
        ini += "[" + it.key() + "]\n" + it.value();
    return ini;
}

void PressKey(QWidget* target, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
}

using OptionsDialog = CatalogueFolder;
} // namespace

TEST_F(OptionsDialog, WithoutCatalogueShowsTheDesignedWording) {
    TOptionsForm f;
    EXPECT_EQ(f.windowTitle(), "Recording Options");
    EXPECT_EQ(f.OptionsLabel->text(), "Recording Options");
    EXPECT_EQ(f.FoldersBtn->text(), "Folders");
    EXPECT_EQ(f.RecordingBtn->text(), "Recording");
    EXPECT_EQ(f.FTPBtn->text(), "FTP");
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(f.SettingsLbl[i]->text(), "Settings:");
        EXPECT_EQ(f.SaveBtn[i]->text(), "Save");
        EXPECT_EQ(f.DeleteBtn[i]->text(), "Delete");
        EXPECT_EQ(f.OKBtn[i]->text(), "OK");
        EXPECT_EQ(f.CancelBtn[i]->text(), "Cancel");
        EXPECT_EQ(f.SettingsCombo[i]->currentText(), "Current Settings");
        EXPECT_TRUE(f.SettingsCombo[i]->isEditable());
    }
    EXPECT_EQ(f.Label7->text(), "Folder to Publish into");
    EXPECT_EQ(f.FTPLabel->text(), "ftp://");
    EXPECT_EQ(f.ImgHelp11->toolTip(),
              "This button will reset all the alert windows for them to be shown.\n\nYou can "
              "check the \"Not show me this message again\" checkbox to hide them again");
    EXPECT_TRUE(f.LMDLabel1->text().endsWith(
        "in a specific folder. You can define separate folder settings depending on the "
        "project you are working on."));
    EXPECT_TRUE(f.Messages.ChangePathDlg.startsWith(
        "You are about to change the path's where the software will store generated files."));
    EXPECT_EQ(f.ProfileName, "Current Settings");
    EXPECT_FALSE(f.ProfilesListed);
}

TEST_F(OptionsDialog, FixedChoicesOfTheRecordingAndFtpPages) {
    TOptionsForm f;
    QStringList rates;
    for (int i = 0; i < f.bitRateCombo->count(); ++i)
        rates << f.bitRateCombo->itemText(i);
    EXPECT_EQ(rates, QStringList({"8", "16", "24", "32", "40", "48", "56", "64", "80", "96", "112",
                                  "128", "160", "192", "224", "256", "320"}));
    EXPECT_FALSE(f.bitRateCombo->isEditable());
    EXPECT_EQ(f.hz44100radio->text(), "44100");
    EXPECT_EQ(f.hz22050Radio->text(), "22050");
    EXPECT_EQ(f.hz11025Radio->text(), "11025");
    EXPECT_EQ(f.chan1Radio->text(), "mono");
    EXPECT_EQ(f.Chan2Radio->text(), "stereo");
    // channels and sample rate are two independent choices
    f.chan1Radio->setChecked(true);
    f.hz11025Radio->setChecked(true);
    EXPECT_TRUE(f.chan1Radio->isChecked());
    EXPECT_EQ(f.PassEdit->echoMode(), QLineEdit::Password);
    EXPECT_EQ(f.MP3Btn0->text(), "...");
    EXPECT_EQ(f.ZEPBtn0->text(), "...");
}

TEST_F(OptionsDialog, ReadsEveryTextFromItsSection) {
    WriteCatalogue(OwnAndDecoys() + "[RecOptionsForm]\nRecordingBtn=R-RecordingBtn\n");
    TOptionsForm f;
    for (const Destination& d : Destinations())
        EXPECT_EQ(d.Shown(f), Own(d.Section, d.Key)) << d.Section << " " << d.Key;

    // joined texts: no separator, or a blank line between hint paragraphs
    EXPECT_EQ(f.LMDLabel1->text(), "R-AreaCommentLbl0R-AreaCommentLbl1");
    EXPECT_EQ(f.ImgHelp11->toolTip(), "R-ResetAllimgHelpHint0\n\nS-ResetAllimgHelpHint1");
    EXPECT_EQ(f.imgHelp4->toolTip(),
              "S-Step4FtpSiteNameimgHelpHint0\n\nS-Step4FtpSiteNameimgHelpHint1");
    EXPECT_EQ(f.imgHelp7->toolTip(), "S-Step4FolderimgHelpHint0\n\nS-Step4FolderimgHelpHint1"
                                     "\n\nS-Step4FolderimgHelpHint2");
    QString change;
    for (int i = 0; i < 8; ++i)
        change += QStringLiteral("R-ChangePathDlg%1").arg(i);
    EXPECT_EQ(f.Messages.ChangePathDlg, change);

    // neither the caption nor the recording page's button come from the catalogue
    EXPECT_EQ(f.RecordingBtn->text(), "Recording");
    EXPECT_EQ(f.windowTitle(), "Recording Options");
}

TEST_F(OptionsDialog, PageButtonsShowTheirPageAndHeading) {
    WriteCatalogue("[RecOptionsForm]\nFTPOptionsDlg=Your Account\n");
    struct Case {
        const char* Button;
        TOptionsForm::Page Page;
        const char* Heading;
    };
    const Case cases[] = {
        {"FoldersBtn", TOptionsForm::FoldersPage, "Folders"},
        {"FTPBtn", TOptionsForm::FtpPage, "Your Account"},
        {"RecordingBtn", TOptionsForm::RecordingPage, "Recording Options"},
        {"FoldersBtn", TOptionsForm::FoldersPage, "Folders"},
    };
    TOptionsForm f;
    const QWidget* pages[] = {f.Step0, f.Step1, f.Step2};
    const QToolButton* buttons[] = {f.FoldersBtn, f.RecordingBtn, f.FTPBtn};
    f.show();
    for (const Case& c : cases) {
        auto* b = f.findChild<QToolButton*>(QLatin1String(c.Button));
        ASSERT_NE(b, nullptr) << c.Button;
        b->click();
        EXPECT_EQ(f.PageControl->currentWidget(), pages[c.Page]) << c.Button;
        EXPECT_EQ(f.OptionsLabel->text(), c.Heading);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(buttons[i]->isChecked(), i == c.Page) << c.Button << " " << i;
        EXPECT_TRUE(f.OKBtn[c.Page]->isVisible());
        EXPECT_TRUE(f.OKBtn[c.Page]->isDefault());
    }
}

TEST_F(OptionsDialog, HandlersCalledByTheWizardPressTheirButton) {
    TOptionsForm f;
    f.SettingsCombo[TOptionsForm::FtpPage]->setEditText("Site A");
    f.FTPBtnClick();
    EXPECT_TRUE(f.FTPBtn->isChecked());
    EXPECT_FALSE(f.RecordingBtn->isChecked());
    EXPECT_EQ(f.PageControl->currentWidget(), f.Step2);
    EXPECT_EQ(f.OptionsLabel->text(), "FTP Options");
    EXPECT_EQ(f.ProfileName, "Site A");
    f.FoldersBtnClick();
    EXPECT_EQ(f.PageControl->currentWidget(), f.Step0);
    EXPECT_EQ(f.ProfileName, "Current Settings");
}

TEST_F(OptionsDialog, OkAndCancelCloseWithTheirResults) {
    struct Case {
        TOptionsForm::Page Page;
        std::function<void(TOptionsForm&)> Act;
        int Result;
    };
    const Case cases[] = {
        {TOptionsForm::FtpPage, [](TOptionsForm& f) { f.OKBtn[2]->click(); }, mrOk},
        {TOptionsForm::FoldersPage, [](TOptionsForm& f) { f.CancelBtn[0]->click(); }, mrCancel},
        // Enter in an edit box answers the OK button of the page in sight
        {TOptionsForm::FtpPage, [](TOptionsForm& f) { PressKey(f.URLEdit, Qt::Key_Return); }, mrOk},
        {TOptionsForm::FoldersPage, [](TOptionsForm& f) { PressKey(f.MP3Edit, Qt::Key_Enter); },
         mrOk},
        {TOptionsForm::RecordingPage,
         [](TOptionsForm& f) { PressKey(f.bitRateCombo, Qt::Key_Escape); }, mrCancel},
        {TOptionsForm::FtpPage, [](TOptionsForm& f) { f.close(); }, mrCancel},
    };
    for (const Case& c : cases) {
        TOptionsForm f;
        const std::function<void()> pick[] = {
            [&] { f.FoldersBtnClick(); }, [&] { f.RecordingBtnClick(); }, [&] { f.FTPBtnClick(); }};
        pick[c.Page]();
        f.show();
        c.Act(f);
        EXPECT_FALSE(f.isVisible()) << c.Page;
        EXPECT_EQ(f.result(), c.Result) << c.Page;
    }
}

TEST_F(OptionsDialog, EveryPageFitsTheFixedSize) {
    TOptionsForm f;
    f.show();
    EXPECT_EQ(f.minimumSize(), f.maximumSize());
    for (QWidget* page : {f.Step0, f.Step1, f.Step2}) {
        f.PageControl->setCurrentWidget(page);
        QApplication::processEvents();
        EXPECT_TRUE(LayoutFits(&f)) << page->objectName().toStdString();
        EXPECT_TRUE(LayoutFits(page)) << page->objectName().toStdString();
    }
    EXPECT_GE(f.LMDLabel1->height(), f.LMDLabel1->heightForWidth(f.LMDLabel1->width()));
}
