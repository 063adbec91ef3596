#include "options/OptionsUnit.h"

#include "platform/Art.h"
#include "platform/Dialogs.h"
#include "shell/Texts.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
const QString kSection = QStringLiteral("RecOptionsForm");
const QString kStrings = QStringLiteral("Strings");
constexpr const char* kWindow = "TOptionsForm";
constexpr QSize kHelpSize(20, 20);

QLabel* PlainLabel(const QString& name, QWidget* parent) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setTextFormat(Qt::PlainText);
    return l;
}

QLabel* HelpPicture(const QString& name, QWidget* parent) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setPixmap(ArtPixmap(QStringLiteral("help"), kHelpSize, parent));
    l->setFixedSize(kHelpSize);
    return l;
}

QLineEdit* Edit(const QString& name, QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    return e;
}

template <class T> T* Named(const QString& name, QWidget* parent) {
    auto* w = new T(parent);
    w->setObjectName(name);
    return w;
}
} // namespace

TOptionsForm::TOptionsForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("OptionsForm"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(true);
    // The caption is part of the design, not of the catalogue.
    setWindowTitle(QStringLiteral("Recording Options"));

    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 8);
    root->setSpacing(6);

    // heading strip
    auto* strip = Named<QWidget>(QStringLiteral("HeadingPanel"), this);
    strip->setAutoFillBackground(true);
    strip->setBackgroundRole(QPalette::Base);
    auto* stripRow = new QHBoxLayout(strip);
    stripRow->setContentsMargins(12, 6, 12, 6);
    OptionsLabel = PlainLabel(QStringLiteral("OptionsLabel"), strip);
    QFont heading = OptionsLabel->font();
    heading.setBold(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.6);
    OptionsLabel->setFont(heading);
    Logo = Named<QLabel>(QStringLiteral("Logo"), strip);
    Logo->setPixmap(ArtPixmap(QStringLiteral("logo"), QSize(53, 53), this));
    Logo->setFixedSize(53, 53);
    stripRow->addWidget(OptionsLabel, 1);
    stripRow->addWidget(Logo);
    root->addWidget(strip);

    // button bar: three page buttons, of which exactly one is down
    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(12, 0, 12, 0);
    PageButtons = new QButtonGroup(this);
    PageButtons->setExclusive(true);
    const auto pageButton = [&](const QString& name, int id) {
        auto* b = Named<QToolButton>(name, this);
        b->setCheckable(true);
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::StrongFocus);
        b->setMinimumWidth(90);
        PageButtons->addButton(b, id);
        bar->addWidget(b);
        return b;
    };
    FoldersBtn = pageButton(QStringLiteral("FoldersBtn"), FoldersPage);
    RecordingBtn = pageButton(QStringLiteral("RecordingBtn"), RecordingPage);
    FTPBtn = pageButton(QStringLiteral("FTPBtn"), FtpPage);
    bar->addStretch(1);
    ResetBtn = Named<QPushButton>(QStringLiteral("ResetBtn"), this);
    ResetBtn->setAutoDefault(false);
    ImgHelp11 = HelpPicture(QStringLiteral("ImgHelp11"), this);
    bar->addWidget(ResetBtn);
    bar->addWidget(ImgHelp11);
    root->addLayout(bar);

    // page control without tabs: the page buttons choose the page
    PageControl = Named<QStackedWidget>(QStringLiteral("PageControl"), this);
    Step0 = BuildFoldersPage();
    Step1 = BuildRecordingPage();
    Step2 = BuildFtpPage();
    PageControl->addWidget(Step0);
    PageControl->addWidget(Step1);
    PageControl->addWidget(Step2);
    root->addWidget(PageControl, 1);

    connect(FoldersBtn, &QToolButton::clicked, this, &TOptionsForm::FoldersBtnClick);
    connect(RecordingBtn, &QToolButton::clicked, this, &TOptionsForm::RecordingBtnClick);
    connect(FTPBtn, &QToolButton::clicked, this, &TOptionsForm::FTPBtnClick);
    for (int i = 0; i < 3; ++i) {
        connect(OKBtn[i], &QPushButton::clicked, this, [this] { done(mrOk); });
        connect(CancelBtn[i], &QPushButton::clicked, this, [this] { done(mrCancel); });
    }

    setTabOrder(FoldersBtn, RecordingBtn);
    setTabOrder(RecordingBtn, FTPBtn);
    setTabOrder(FTPBtn, ResetBtn);

    setFixedSize(660, 400);

    ProfileName = QStringLiteral("Current Settings");
    ProfilesListed = false;
    LoadTexts();
    // Until the wizard picks a page, the dialog opens on the recording page
    // under the heading of the whole dialog.
    PageControl->setCurrentWidget(Step1);
    RecordingBtn->setChecked(true);
    OKBtn[RecordingPage]->setDefault(true);
}

QWidget* TOptionsForm::BuildFoldersPage() {
    auto* page = Named<QWidget>(QStringLiteral("Step0"), this);
    auto* v = new QVBoxLayout(page);
    v->setContentsMargins(12, 6, 12, 0);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    MP3FolderLbl = PlainLabel(QStringLiteral("MP3FolderLbl"), page);
    MP3Edit = Edit(QStringLiteral("MP3Edit"), page);
    MP3Btn0 = Named<QPushButton>(QStringLiteral("MP3Btn0"), page);
    MP3Btn0->setText(QStringLiteral("..."));
    MP3Btn0->setAutoDefault(false);
    MP3Btn0->setFixedWidth(32);
    imgHelp9 = HelpPicture(QStringLiteral("imgHelp9"), page);
    GenFilesFolderLbl = PlainLabel(QStringLiteral("GenFilesFolderLbl"), page);
    ZEPEdit = Edit(QStringLiteral("ZEPEdit"), page);
    ZEPBtn0 = Named<QPushButton>(QStringLiteral("ZEPBtn0"), page);
    ZEPBtn0->setText(QStringLiteral("..."));
    ZEPBtn0->setAutoDefault(false);
    ZEPBtn0->setFixedWidth(32);
    imgHelp10 = HelpPicture(QStringLiteral("imgHelp10"), page);
    grid->addWidget(MP3FolderLbl, 0, 0, 1, 3);
    grid->addWidget(MP3Edit, 1, 0);
    grid->addWidget(MP3Btn0, 1, 1);
    grid->addWidget(imgHelp9, 1, 2);
    grid->addWidget(GenFilesFolderLbl, 2, 0, 1, 3);
    grid->addWidget(ZEPEdit, 3, 0);
    grid->addWidget(ZEPBtn0, 3, 1);
    grid->addWidget(imgHelp10, 3, 2);
    grid->setColumnStretch(0, 1);
    v->addLayout(grid);
    LMDLabel1 = PlainLabel(QStringLiteral("LMDLabel1"), page);
    LMDLabel1->setWordWrap(true);
    v->addSpacing(8);
    v->addWidget(LMDLabel1);
    AddPageFooter(page, v, FoldersPage);
    return page;
}

QWidget* TOptionsForm::BuildRecordingPage() {
    auto* page = Named<QWidget>(QStringLiteral("Step1"), this);
    auto* v = new QVBoxLayout(page);
    v->setContentsMargins(12, 6, 12, 0);

    auto* rateRow = new QHBoxLayout;
    BitRateLbl = PlainLabel(QStringLiteral("BitRateLbl"), page);
    bitRateCombo = Named<QComboBox>(QStringLiteral("bitRateCombo"), page);
    // a fixed list: only these rates can be chosen
    bitRateCombo->setEditable(false);
    bitRateCombo->addItems({"8", "16", "24", "32", "40", "48", "56", "64", "80", "96", "112", "128",
                            "160", "192", "224", "256", "320"});
    bitRateCombo->setCurrentIndex(-1); // nothing chosen until values are loaded
    bitRateCombo->setMinimumWidth(90);
    rateRow->addWidget(BitRateLbl);
    rateRow->addWidget(bitRateCombo);
    rateRow->addStretch(1);
    v->addLayout(rateRow);

    auto* groups = new QHBoxLayout;
    ChannelGrp = Named<QGroupBox>(QStringLiteral("ChannelGrp"), page);
    auto* cv = new QVBoxLayout(ChannelGrp);
    chan1Radio = Named<QRadioButton>(QStringLiteral("chan1Radio"), ChannelGrp);
    Chan2Radio = Named<QRadioButton>(QStringLiteral("Chan2Radio"), ChannelGrp);
    cv->addWidget(chan1Radio);
    cv->addWidget(Chan2Radio);
    cv->addStretch(1);
    SamRateGrp = Named<QGroupBox>(QStringLiteral("SamRateGrp"), page);
    auto* sv = new QVBoxLayout(SamRateGrp);
    hz44100radio = Named<QRadioButton>(QStringLiteral("hz44100radio"), SamRateGrp);
    hz22050Radio = Named<QRadioButton>(QStringLiteral("hz22050Radio"), SamRateGrp);
    hz11025Radio = Named<QRadioButton>(QStringLiteral("hz11025Radio"), SamRateGrp);
    hz44100radio->setText(QStringLiteral("44100"));
    hz22050Radio->setText(QStringLiteral("22050"));
    hz11025Radio->setText(QStringLiteral("11025"));
    sv->addWidget(hz44100radio);
    sv->addWidget(hz22050Radio);
    sv->addWidget(hz11025Radio);
    groups->addWidget(ChannelGrp, 1);
    groups->addWidget(SamRateGrp, 1);
    v->addLayout(groups);

    auto* defaultsRow = new QHBoxLayout;
    DefaultsBtn1 = Named<QPushButton>(QStringLiteral("DefaultsBtn1"), page);
    DefaultsBtn1->setAutoDefault(false);
    defaultsRow->addStretch(1);
    defaultsRow->addWidget(DefaultsBtn1);
    v->addLayout(defaultsRow);
    AddPageFooter(page, v, RecordingPage);
    return page;
}

QWidget* TOptionsForm::BuildFtpPage() {
    auto* page = Named<QWidget>(QStringLiteral("Step2"), this);
    auto* v = new QVBoxLayout(page);
    v->setContentsMargins(12, 6, 12, 0);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(6);
    const auto row = [&](int r, QLabel*& label, const QString& labelName, QLabel** prefix,
                         const QString& prefixName, QLineEdit*& edit, const QString& editName,
                         QLabel*& help, const QString& helpName) {
        label = PlainLabel(labelName, page);
        edit = Edit(editName, page);
        help = HelpPicture(helpName, page);
        grid->addWidget(label, r, 0);
        if (prefix) {
            *prefix = PlainLabel(prefixName, page);
            grid->addWidget(*prefix, r, 1);
        }
        grid->addWidget(edit, r, 2);
        grid->addWidget(help, r, 3);
    };
    row(0, Label4, QStringLiteral("Label4"), &FTPLabel, QStringLiteral("FTPLabel"), FTPEdit,
        QStringLiteral("FTPEdit"), imgHelp4, QStringLiteral("imgHelp4"));
    row(1, LMDLabel24, QStringLiteral("LMDLabel24"), nullptr, {}, UserEdit,
        QStringLiteral("UserEdit"), imgHelp5, QStringLiteral("imgHelp5"));
    row(2, PassLabel, QStringLiteral("PassLabel"), nullptr, {}, PassEdit,
        QStringLiteral("PassEdit"), imgHelp6, QStringLiteral("imgHelp6"));
    row(3, Label7, QStringLiteral("Label7"), nullptr, {}, FolderEdit, QStringLiteral("FolderEdit"),
        imgHelp7, QStringLiteral("imgHelp7"));
    row(4, Label8, QStringLiteral("Label8"), &HTTPLabel, QStringLiteral("HTTPLabel"), URLEdit,
        QStringLiteral("URLEdit"), imgHelp8, QStringLiteral("imgHelp8"));
    PassEdit->setEchoMode(QLineEdit::Password);
    grid->setColumnStretch(2, 1);
    v->addLayout(grid);
    AddPageFooter(page, v, FtpPage);
    return page;
}

void TOptionsForm::AddPageFooter(QWidget* page, QVBoxLayout* layout, int index) {
    layout->addStretch(1);
    const QString n = QString::number(index);
    auto* group = Named<QGroupBox>(QStringLiteral("SettingsGroup") + n, page);
    auto* g = new QHBoxLayout(group);
    g->setContentsMargins(8, 6, 8, 6);
    SettingsGroup[index] = group;
    SettingsLbl[index] = PlainLabel(QStringLiteral("SettingsLbl") + n, group);
    SettingsCombo[index] = Named<QComboBox>(QStringLiteral("SettingsCombo") + n, group);
    // editable: typing a new name is how a profile gets its name
    SettingsCombo[index]->setEditable(true);
    SettingsCombo[index]->setInsertPolicy(QComboBox::NoInsert);
    SettingsCombo[index]->addItem(QStringLiteral("Current Settings"));
    SettingsCombo[index]->setMinimumWidth(160);
    SaveBtn[index] = Named<QPushButton>(QStringLiteral("SaveBtn") + n, group);
    DeleteBtn[index] = Named<QPushButton>(QStringLiteral("DeleteBtn") + n, group);
    SaveBtn[index]->setAutoDefault(false);
    DeleteBtn[index]->setAutoDefault(false);
    g->addWidget(SettingsLbl[index]);
    g->addWidget(SettingsCombo[index], 1);
    g->addWidget(SaveBtn[index]);
    g->addWidget(DeleteBtn[index]);

    OKBtn[index] = Named<QPushButton>(QStringLiteral("OKBtn") + n, page);
    CancelBtn[index] = Named<QPushButton>(QStringLiteral("CancelBtn") + n, page);
    OKBtn[index]->setMinimumWidth(80);
    CancelBtn[index]->setMinimumWidth(80);

    auto* footer = new QHBoxLayout;
    footer->addWidget(group, 1);
    footer->addSpacing(12);
    footer->addWidget(OKBtn[index], 0, Qt::AlignBottom);
    footer->addWidget(CancelBtn[index], 0, Qt::AlignBottom);
    layout->addLayout(footer);
}

void TOptionsForm::LoadTexts() {
    const TTextCatalogue cat = ProgramCatalogue();
    const auto text = [&cat](const char* key) {
        return cat.Text(kSection, QLatin1String(key), kWindow);
    };
    const auto strings = [&cat](const char* key) {
        return cat.Text(kStrings, QLatin1String(key), kWindow);
    };

    OptionsLabel->setText(LabelText(text("RecOptionsLbl")));
    FoldersBtn->setText(text("FoldersBtn"));
    // RecordingBtn has no key of its own: its caption is fixed.
    RecordingBtn->setText(QStringLiteral("Recording"));
    FTPBtn->setText(text("FTPBtn"));
    ResetBtn->setText(text("ResetBtn"));
    const QString save = text("SaveBtn"), del = text("DeleteBtn"), cancel = text("CancelBtn"),
                  ok = text("OKBtn"), settings = LabelText(text("SettingsLbl"));
    for (int i = 0; i < 3; ++i) {
        SaveBtn[i]->setText(save);
        DeleteBtn[i]->setText(del);
        CancelBtn[i]->setText(cancel);
        OKBtn[i]->setText(ok);
        SettingsLbl[i]->setText(settings);
    }
    MP3FolderLbl->setText(LabelText(text("MP3FolderLbl")));
    GenFilesFolderLbl->setText(LabelText(text("GenFilesFolderLbl")));
    LMDLabel1->setText(LabelText(text("AreaCommentLbl0") + text("AreaCommentLbl1")));
    imgHelp9->setToolTip(DisplayText(text("MP3FilesimgHelpHint")));
    imgHelp10->setToolTip(DisplayText(text("GenFilesimgHelpHint")));
    // The second paragraph of this hint lives with the main window's texts.
    ImgHelp11->setToolTip(
        DisplayText(JoinCR({text("ResetAllimgHelpHint0"), strings("ResetAllimgHelpHint1")}, 2)));
    BitRateLbl->setText(LabelText(text("BitRateLbl")));
    ChannelGrp->setTitle(text("ChannelGrp"));
    chan1Radio->setText(text("MonoRadGrp"));
    Chan2Radio->setText(text("StereoRadGrp"));
    SamRateGrp->setTitle(text("SamRateGrp"));
    DefaultsBtn1->setText(text("DefBtn"));
    imgHelp5->setToolTip(DisplayText(text("UserNameimgHelpHint")));
    imgHelp6->setToolTip(DisplayText(text("PasswimgHelpHint")));

    // The FTP page repeats the wording of the wizard's upload page.
    FTPLabel->setText(LabelText(strings("Step4FTPLbl")));
    HTTPLabel->setText(LabelText(strings("Step4HTTPLbl")));
    Label4->setText(LabelText(strings("Step4FtpSiteNameLbl")));
    LMDLabel24->setText(LabelText(strings("Step4UserNameLbl")));
    PassLabel->setText(LabelText(strings("Step4PasswLbl")));
    Label7->setText(LabelText(strings("Step4FolderLbl")));
    Label8->setText(LabelText(strings("Step4UrlLbl")));
    imgHelp4->setToolTip(DisplayText(JoinCR(
        {strings("Step4FtpSiteNameimgHelpHint0"), strings("Step4FtpSiteNameimgHelpHint1")}, 2)));
    imgHelp7->setToolTip(
        DisplayText(JoinCR({strings("Step4FolderimgHelpHint0"), strings("Step4FolderimgHelpHint1"),
                            strings("Step4FolderimgHelpHint2")},
                           2)));
    imgHelp8->setToolTip(DisplayText(strings("Step4UrlimgHelpHint")));

    Messages.ErrorInvalidMp3PathDlg = text("ErrorInvalidMp3PathDlg");
    Messages.ErrorInvalidGenFilesPathDlg = text("ErrorInvalidGenFilesPathDlg");
    Messages.ChangePathDlg.clear();
    for (int i = 0; i < 8; ++i)
        Messages.ChangePathDlg +=
            cat.Text(kSection, QStringLiteral("ChangePathDlg%1").arg(i), kWindow);
    Messages.SelMp3FolderDlg = text("SelMp3FolderDlg");
    Messages.SelGenFilesFolderDlg = text("SelGenFilesFolderDlg");
    Messages.FoldersDlg = text("FoldersDlg");
    Messages.RecOptionsDlg = text("RecOptionsDlg");
    Messages.FTPOptionsDlg = text("FTPOptionsDlg");
    Messages.ErrorMustEnterNameDlg = text("ErrorMustEnterNameDlg");
    Messages.ErrorCannotDelNameDlg = text("ErrorCannotDelNameDlg");
}

void TOptionsForm::ShowPage(Page page, const QString& heading) {
    PageControl->setCurrentIndex(page);
    PageButtons->button(page)->setChecked(true);
    ProfileName = SettingsCombo[page]->currentText();
    OptionsLabel->setText(LabelText(heading));
    // Enter answers the OK button of the page in sight.
    OKBtn[page]->setDefault(true);
}

void TOptionsForm::FoldersBtnClick() {
    ShowPage(FoldersPage, Messages.FoldersDlg);
}
void TOptionsForm::RecordingBtnClick() {
    ShowPage(RecordingPage, Messages.RecOptionsDlg);
}
void TOptionsForm::FTPBtnClick() {
    ShowPage(FtpPage, Messages.FTPOptionsDlg);
}

void TOptionsForm::reject() {
    done(mrCancel);
}
