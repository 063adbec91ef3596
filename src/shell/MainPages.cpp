// The main window's pages: every control under its design name, laid out as
// the wizard shows them, and their wording from the catalogue.

#include "audio/LevelChart.h"
#include "platform/Art.h"
#include "shell/MainUnit1.h"
#include "shell/SampleBrowser.h"
#include "shell/Texts.h"
#include "shell/Widgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {
constexpr int kBannerH = 60;
constexpr int kBtnW = 75, kBtnH = 25;

template <typename W> W* named(W* w, const char* name) {
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

QLabel* label(QWidget* parent, const char* name, QRect geom, bool wrap = false) {
    auto* l = named(new QLabel(parent), name);
    l->setGeometry(geom);
    l->setWordWrap(wrap);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return l;
}

QPushButton* button(QWidget* parent, const char* name, QRect geom) {
    auto* b = named(new QPushButton(parent), name);
    b->setGeometry(geom);
    b->setAutoDefault(false);
    return b;
}

THelpImage* helpImage(QWidget* parent, const char* name, QPoint at) {
    auto* h = named(new THelpImage(parent), name);
    h->move(at);
    return h;
}

QGroupBox* group(QWidget* parent, const char* name, QRect geom) {
    auto* g = named(new QGroupBox(parent), name);
    g->setGeometry(geom);
    return g;
}
} // namespace

QWidget* TMainForm1::NewPage(int index, QLabel*& title, QLabel** subtitle, QLabel** counter) {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("Step%1").arg(index));
    page->setAutoFillBackground(true);

    // white banner: logo, title, step counter
    auto* banner = named(new QFrame(page), "Banner");
    banner->setGeometry(0, 0, 610, kBannerH);
    banner->setAutoFillBackground(true);
    QPalette pal = banner->palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::WindowText, QColor(0x1c, 0x3f, 0x6e));
    banner->setPalette(pal);
    auto* rule = new QFrame(page);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    rule->setGeometry(0, kBannerH, 610, 2);
    Stretched.push_back(banner);
    Stretched.push_back(rule);

    Logo[index] = named(new QLabel(banner), "Logo");
    Logo[index]->setGeometry(4, 3, 53, 53);
    title = new QLabel(banner);
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 1.45);
    big.setBold(true);
    title->setFont(big);
    title->setGeometry(66, subtitle ? 6 : 14, 420, 28);
    if (subtitle) {
        *subtitle = new QLabel(banner);
        (*subtitle)->setGeometry(84, 36, 430, 18);
    }
    if (counter) {
        *counter = new QLabel(banner);
        AnchoredRight.push_back({*counter, 610 - 500});
        (*counter)->setGeometry(500, 8, 100, 20);
        (*counter)->setAlignment(Qt::AlignRight | Qt::AlignTop);
        QFont f = (*counter)->font();
        f.setBold(true);
        (*counter)->setFont(f);
    }
    PageControl->addWidget(page);
    return page;
}

void TMainForm1::BuildBottomBar(int i) {
    QWidget* page = PageControl->widget(i);
    auto* rule = new QFrame(page);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    rule->setGeometry(8, 378, 594, 2);
    Stretched.push_back(rule);
    const int y = 388;
    // from the right: Close, Next, Back, Help (page 5: Close, Back, Start Over, Help)
    int x = 610 - 10 - kBtnW;
    auto next = [&x] {
        const int at = x;
        x -= kBtnW + 6;
        return at;
    };
    const auto first = page->children().size();
    if (i < 5) {
        FinishBtn[i] = button(page, QStringLiteral("FinishBtn%1").arg(i).toLatin1(),
                              {next(), y, kBtnW, kBtnH});
        NextBtn[i] =
            button(page, QStringLiteral("NextBtn%1").arg(i).toLatin1(), {next(), y, kBtnW, kBtnH});
        NextBtn[i]->setDefault(true);
        BackBtn[i] =
            button(page, QStringLiteral("BackBtn%1").arg(i).toLatin1(), {next(), y, kBtnW, kBtnH});
    } else {
        CloseBtn5 = button(page, "CloseBtn5", {next(), y, kBtnW, kBtnH});
        BackBtn[5] = button(page, "BackBtn5", {next(), y, kBtnW, kBtnH});
        StartOverBtn = button(page, "StartOverBtn", {next(), y, kBtnW, kBtnH});
    }
    if (i >= 1)
        HelpBtn[i] =
            button(page, QStringLiteral("HelpBtn%1").arg(i).toLatin1(), {next(), y, kBtnW, kBtnH});
    // the bar stays at the bottom right when the window grows
    const QObjectList& kids = page->children();
    for (auto k = first; k < kids.size(); ++k)
        if (auto* b = qobject_cast<QPushButton*>(kids[k])) {
            AnchoredRight.push_back({b, 610 - b->x()});
            AnchoredBottom.push_back({b, 425 - b->y()});
        }
    AnchoredBottom.push_back({rule, 425 - rule->y()});
}

void TMainForm1::BuildStep0() {
    QLabel* title = nullptr;
    Step0 = NewPage(0, title, nullptr, nullptr);
    LMDLabel5 = named(title, "LMDLabel5");
    LMDLabel4 = label(Step0, "LMDLabel4", {60, 100, 480, 50}, true);
    QFont f = LMDLabel4->font();
    f.setPointSizeF(f.pointSizeF() * 1.25);
    LMDLabel4->setFont(f);
    LMDLabel6 = label(Step0, "LMDLabel6", {60, 160, 480, 20});
    LMDLabel33 = label(Step0, "LMDLabel33", {380, 215, 200, 18});
    LMDLabel34 = label(Step0, "LMDLabel34", {380, 233, 200, 18});
    Image2 = named(new TImageButton(Step0), "Image2");
    Image2->setGeometry(400, 256, 64, 64);
    Image2->setArt(QStringLiteral("tour"), QSize(64, 64));
    BuildBottomBar(0);
    AboutBtn = button(Step0, "AboutBtn", {10, 388, kBtnW, kBtnH});
    AnchoredBottom.push_back({AboutBtn, 425 - AboutBtn->y()});
}

void TMainForm1::BuildStep1() {
    Step1 = NewPage(1, LMDLabel2, &LMDLabel3, &LMDLabel1);
    named(LMDLabel2, "LMDLabel2");
    named(LMDLabel3, "LMDLabel3");
    named(LMDLabel1, "LMDLabel1");

    sourceGroup = group(Step1, "sourceGroup", {8, 68, 290, 196});
    RecRadio = named(new QRadioButton(sourceGroup), "RecRadio");
    RecRadio->setGeometry(12, 22, 130, 20);
    PlayRadio = named(new QRadioButton(sourceGroup), "PlayRadio");
    PlayRadio->setGeometry(145, 22, 140, 20);
    FilesList = named(new QListWidget(sourceGroup), "FilesList");
    FilesList->setGeometry(12, 48, 266, 108);
    FilesList->setSortingEnabled(true);
    FnameLabel = label(sourceGroup, "FnameLabel", {12, 56, 266, 18});
    FnameEdit = named(new QLineEdit(sourceGroup), "FnameEdit");
    FnameEdit->setGeometry(12, 76, 266, 24);
    FnameLabel->setBuddy(FnameEdit);
    RecOptionsBtn = button(sourceGroup, "RecOptionsBtn", {12, 162, 120, kBtnH});
    imgHelp[1] = helpImage(sourceGroup, "imgHelp1", {136, 164});
    ImportBtn = button(sourceGroup, "ImportBtn", {176, 162, 80, kBtnH});
    imgHelp[2] = helpImage(sourceGroup, "imgHelp2", {260, 164});

    controlsGroup = group(Step1, "controlsGroup", {306, 68, 296, 92});
    struct Btn {
        TImageButton*& img;
        QLabel*& twin;
        TEffectLabel*& cap;
        const char *name, *twinName, *capName, *art;
    };
    Btn btns[] = {
        {imgPlay, imgPlayDisabled, PlayLabel, "imgPlay", "imgPlayDisabled", "PlayLabel", "play"},
        {imgPause, imgPauseDisabled, PauseLabel, "imgPause", "imgPauseDisabled", "PauseLabel",
         "pause"},
        {imgStop, imgStopDisabled, StopLabel, "imgStop", "imgStopDisabled", "StopLabel", "stop"},
        {imgRec, imgRecDisabled, RecLabel, "imgRec", "imgRecDisabled", "RecLabel", "rec"},
    };
    int x = 22;
    for (Btn& b : btns) {
        b.img = named(new TImageButton(controlsGroup), b.name);
        b.img->setGeometry(x, 20, 44, 44);
        b.img->setArt(QString::fromLatin1(b.art), QSize(40, 40));
        // The greyed twin sits exactly above its button and swallows clicks.
        b.twin = named(new QLabel(controlsGroup), b.twinName);
        b.twin->setGeometry(x, 20, 44, 44);
        b.twin->setAlignment(Qt::AlignCenter);
        b.twin->setPixmap(ArtPixmap(QString::fromLatin1(b.art) + "_disabled", QSize(40, 40), this));
        b.twin->raise();
        b.cap = named(new TEffectLabel(controlsGroup), b.capName);
        b.cap->setGeometry(x - 8, 66, 60, 18);
        x += 70;
    }

    LeftChanPanel = named(new QFrame(Step1), "LeftChanPanel");
    LeftChanPanel->setGeometry(306, 166, 146, 120);
    RightChanPanel = named(new QFrame(Step1), "RightChanPanel");
    RightChanPanel->setGeometry(456, 166, 146, 120);
    for (QWidget* p : {LeftChanPanel, RightChanPanel}) {
        static_cast<QFrame*>(p)->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        auto* lay = new QVBoxLayout(p);
        lay->setContentsMargins(2, 2, 2, 2);
    }
    Chart1 = named(new TLevelChart(LeftChanPanel), "Chart1");
    Chart2 = named(new TLevelChart(RightChanPanel), "Chart2");
    LeftChanPanel->layout()->addWidget(Chart1);
    RightChanPanel->layout()->addWidget(Chart2);

    encodeGroup = group(Step1, "encodeGroup", {8, 270, 290, 64});
    MP3Progress = named(new QProgressBar(encodeGroup), "MP3Progress");
    MP3Progress->setGeometry(12, 26, 266, 22);
    MP3Progress->setRange(0, 100);
    MP3Progress->setValue(0);
    BuildBottomBar(1);
}

void TMainForm1::BuildStep2() {
    Step2 = NewPage(2, LMDLabel14, &LMDLabel15, &LMDLabel13);
    named(LMDLabel14, "LMDLabel14");
    named(LMDLabel15, "LMDLabel15");
    named(LMDLabel13, "LMDLabel13");
    swfGroup = group(Step2, "swfGroup", {8, 68, 200, 170});
    swfList = named(new QListWidget(swfGroup), "swfList");
    swfList->setGeometry(10, 22, 156, 138);
    swfList->setSortingEnabled(true);
    imgHelp[11] = helpImage(swfGroup, "imgHelp11", {172, 24});
    buttonsGroup = group(Step2, "buttonsGroup", {8, 242, 200, 96});
    PlayBtnCheck = named(new QCheckBox(buttonsGroup), "PlayBtnCheck");
    PlayBtnCheck->setGeometry(10, 22, 100, 20);
    PauseBtnCheck = named(new QCheckBox(buttonsGroup), "PauseBtnCheck");
    PauseBtnCheck->setGeometry(10, 44, 100, 20);
    StopBtnCheck = named(new QCheckBox(buttonsGroup), "StopBtnCheck");
    StopBtnCheck->setGeometry(10, 66, 100, 20);
    AutoStartCheck = named(new QCheckBox(buttonsGroup), "AutoStartCheck");
    AutoStartCheck->setGeometry(108, 22, 86, 20);
    imgHelp[10] = helpImage(buttonsGroup, "imgHelp10", {170, 46});
    sampleGroup = group(Step2, "sampleGroup", {216, 68, 386, 250});
    WB2 = named(new TSampleBrowser(sampleGroup), "WB2");
    WB2->setGeometry(10, 22, 366, 218);
    LMDSimpleLabel1 = label(Step2, "LMDSimpleLabel1", {216, 322, 386, 18});
    LMDSimpleLabel1->setTextFormat(Qt::RichText);
    LMDSimpleLabel1->setCursor(Qt::PointingHandCursor);
    LMDSimpleLabel1->setVisible(false);
    BuildBottomBar(2);
}

void TMainForm1::BuildStep3() {
    Step3 = NewPage(3, LMDLabel12, nullptr, &LMDLabel16);
    named(LMDLabel12, "LMDLabel12");
    named(LMDLabel16, "LMDLabel16");
    mainGroup3 = group(Step3, "mainGroup3", {8, 68, 250, 270});
    LMDLabel19 = label(mainGroup3, "LMDLabel19", {10, 22, 230, 130}, true);
    FileSettingsBtn = button(mainGroup3, "FileSettingsBtn", {10, 160, 110, kBtnH});
    GenerateBtn = button(mainGroup3, "GenerateBtn", {10, 192, 110, kBtnH});
    PreviewBtn = button(mainGroup3, "PreviewBtn", {128, 192, 90, kBtnH});
    imgHelp[3] = helpImage(mainGroup3, "imgHelp3", {222, 194});
    GenerateProgress = named(new QProgressBar(mainGroup3), "GenerateProgress");
    GenerateProgress->setGeometry(10, 228, 230, 22);
    GenerateProgress->setRange(0, 100);
    GenerateProgress->setValue(0);
    LMDGroupBox12 = group(Step3, "LMDGroupBox12", {266, 68, 336, 270});
    WB3 = named(new TSampleBrowser(LMDGroupBox12), "WB3");
    WB3->setGeometry(10, 22, 316, 238);
    BuildBottomBar(3);
}

void TMainForm1::BuildStep4() {
    Step4 = NewPage(4, LMDLabel21, nullptr, &LMDLabel20);
    named(LMDLabel21, "LMDLabel21");
    named(LMDLabel20, "LMDLabel20");
    struct Row {
        QLabel*& caption;
        const char* captionName;
        QLineEdit*& edit;
        const char* editName;
        QLabel*& example;
        const char* exampleName;
        const char* helpName;
        int helpIndex;
    };
    Row rows[] = {
        {Label4, "Label4", FTPEdit, "FTPEdit", Label1, "Label1", "imgHelp4", 4},
        {LMDLabel24, "LMDLabel24", UserEdit, "UserEdit", Label2, "Label2", "imgHelp5ZEP", -5},
        {PassLabel, "PassLabel", PassEdit, "PassEdit", Label3, "Label3", "imgHelp6ZEP", -6},
        {Label7, "Label7", FolderEdit, "FolderEdit", Label5, "Label5", "imgHelp7", 7},
        {Label8, "Label8", URLEdit, "URLEdit", Label6, "Label6", "imgHelp8", 8},
    };
    int y = 74;
    for (Row& r : rows) {
        r.caption = label(Step4, r.captionName, {10, y + 4, 130, 18});
        r.edit = named(new QLineEdit(Step4), r.editName);
        r.edit->setGeometry(190, y, 180, 24);
        r.caption->setBuddy(r.edit);
        THelpImage* h = helpImage(Step4, r.helpName, {374, y + 2});
        if (r.helpIndex > 0)
            imgHelp[r.helpIndex] = h;
        else if (r.helpIndex == -5)
            imgHelp5ZEP = h;
        else
            imgHelp6ZEP = h;
        r.example = label(Step4, r.exampleName, {190, y + 25, 260, 16});
        QFont f = r.example->font();
        f.setPointSizeF(f.pointSizeF() * 0.85);
        r.example->setFont(f);
        r.example->setStyleSheet(QStringLiteral("color: palette(mid);"));
        y += 50;
    }
    PassEdit->setEchoMode(QLineEdit::Password);
    FTPLabel = label(Step4, "FTPLabel", {146, 78, 44, 18});
    HTTPLabel = label(Step4, "HTTPLabel", {146, 78 + 4 * 50, 44, 18});
    // The hosted-account hints of the design; no visible control uses them
    // while every upload goes to the user's own server.
    imgHelp[5] = helpImage(Step4, "imgHelp5", {0, 0});
    imgHelp[6] = helpImage(Step4, "imgHelp6", {0, 0});
    imgHelp[5]->hide();
    imgHelp[6]->hide();
    RightLabelFTP = label(Step4, "RightLabelFTP", {408, 74, 194, 120}, true);
    FTPOptionsBtn = button(Step4, "FTPOptionsBtn", {408, 210, 110, kBtnH});
    UploadBtn = button(Step4, "UploadBtn", {408, 244, 110, kBtnH});
    LMDButton1 = button(Step4, "LMDButton1", {408, 290, 180, kBtnH});
    BuildBottomBar(4);
}

void TMainForm1::BuildStep5() {
    Step5 = NewPage(5, LMDLabel18, nullptr, &LMDLabel17);
    named(LMDLabel18, "LMDLabel18");
    named(LMDLabel17, "LMDLabel17");
    PlayerCodeBtn = button(Step5, "PlayerCodeBtn", {10, 74, 110, kBtnH});
    EmailCodeBtn = button(Step5, "EmailCodeBtn", {126, 74, 110, kBtnH});
    PlayerLabel = label(Step5, "PlayerLabel", {10, 106, 590, 52}, true);
    EmailLabel = label(Step5, "EmailLabel", {10, 106, 590, 52}, true);
    // one of the two explanations shows at a time; the e-mail link comes first
    PlayerLabel->hide();
    Memo1 = named(new QPlainTextEdit(Step5), "Memo1");
    Memo1->setGeometry(10, 162, 590, 140);
    Memo1->setReadOnly(true);
    ClipboardBtn = button(Step5, "ClipboardBtn", {10, 308, 130, kBtnH});
    imgHelp[9] = helpImage(Step5, "imgHelp9", {146, 310});
    BuildBottomBar(5);
}

void TMainForm1::BuildPages() {
    PageControl = named(new QStackedWidget(this), "PageControl");
    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->addWidget(PageControl);
    BuildStep0();
    BuildStep1();
    BuildStep2();
    BuildStep3();
    BuildStep4();
    BuildStep5();
    BackBtn[0]->setEnabled(false);
    Logo[0]->setPixmap(ArtPixmap(QStringLiteral("logo"), QSize(53, 53), this));
    imgHelp[1]->setPixmap(ArtPixmap(QStringLiteral("help"), QSize(20, 20), this));
}

void TMainForm1::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    for (QWidget* w : Stretched)
        w->resize(width() - 2 * w->x(), w->height());
    for (const auto& [w, fromRight] : AnchoredRight)
        w->move(width() - fromRight, w->y());
    for (const auto& [w, fromBottom] : AnchoredBottom)
        w->move(w->x(), height() - fromBottom);
}

void TMainForm1::LoadTexts() {
    const TTextCatalogue cat = ProgramCatalogue();
    auto T = [&cat](const char* key) { return cat.Text("Strings", key); };
    auto parts = [&T](std::initializer_list<const char*> keys) {
        QStringList l;
        for (const char* k : keys)
            l << T(k);
        return l;
    };
    auto caption = [](QLabel* l, const QString& text) { l->setText(LabelText(text)); };
    auto hint = [](QWidget* w, const QString& text) { w->setToolTip(DisplayText(text)); };

    qApp->setApplicationDisplayName(T("ApplicationTitle"));
    setWindowTitle(T("MainFormCaption"));
    // each navigation key is looked up once per button
    for (int i = 0; i < 6; ++i)
        if (BackBtn[i])
            BackBtn[i]->setText(T("BackBtn"));
    for (int i = 0; i < 5; ++i)
        NextBtn[i]->setText(T("NextBtn"));
    for (int i = 0; i < 5; ++i)
        FinishBtn[i]->setText(T("CloseBtn"));
    CloseBtn5->setText(T("CloseBtn"));
    for (int i = 1; i <= 5; ++i)
        HelpBtn[i]->setText(T("HelpBtn"));

    caption(LMDLabel5, T("Step0CreateVoiceFileBtn"));
    caption(LMDLabel6, T("Step0ClickNextLbl"));
    caption(LMDLabel4, JoinCR(parts({"Step0AddContentLbl0", "Step0AddContentLbl1"}), 1));
    caption(LMDLabel33, T("Step0WYoulikeToViewLbl"));
    caption(LMDLabel34, T("Step0TheTourLbl"));
    AboutBtn->setText(T("Step0AboutBtn"));

    caption(LMDLabel2, T("Step1RecVoiceLbl"));
    caption(LMDLabel3, T("Step1SelRecordingLbl"));
    caption(LMDLabel1, T("Step1Step1Lbl"));
    sourceGroup->setTitle(T("Step1AudSrcGrp"));
    RecRadio->setText(T("Step1NewRecRadio"));
    PlayRadio->setText(T("Step1ExtRecRadio"));
    FnameLabel->setText(T("Step1RecNameLbl"));
    FnameEdit->setText(T("Step1FNameEdit"));
    RecOptionsBtn->setText(T("Step1RecOptBtn"));
    ImportBtn->setText(T("Step1ImportBtn"));
    controlsGroup->setTitle(T("Step1RecCntrlGrp"));
    PlayLabel->setText(LabelText(T("Step1PlayLbl")));
    PauseLabel->setText(LabelText(T("Step1PauseLbl")));
    StopLabel->setText(LabelText(T("Step1StopLbl")));
    RecLabel->setText(LabelText(T("Step1RecLbl")));
    Chart1->SetTitle(T("Step1LeftChnlChart"));
    Chart2->SetTitle(T("Step1RightChnlChart"));
    encodeGroup->setTitle(T("Step1EncodePrcGrp"));
    hint(FilesList, T("Step1FilesListHint"));
    hint(imgHelp[1], JoinCR(parts({"Step1imgHelp1Hint0", "Step1imgHelp1Hint1"}), 2));
    hint(imgHelp[2], JoinCR(parts({"Step1imgHelp2Hint0", "Step1imgHelp2Hint1"}), 2));

    caption(LMDLabel14, T("Step2ChoosePlCntrlLbl"));
    caption(LMDLabel15, T("Step2SelFlashStngLbl"));
    caption(LMDLabel13, T("Step2Step2Lbl"));
    swfGroup->setTitle(T("Step2SelPlStyleGrp"));
    buttonsGroup->setTitle(T("Step2SelOptUWantGrp"));
    PlayBtnCheck->setText(T("Step2PlayBtnChck"));
    PauseBtnCheck->setText(T("Step2PauseBtnChck"));
    StopBtnCheck->setText(T("Step2StopBtnChck"));
    AutoStartCheck->setText(T("Step2AutoStartChck"));
    sampleGroup->setTitle(T("Step2SampleGrp"));
    MorePlayersUrl = T("Step2MorePlayersLblUrl");
    LMDSimpleLabel1->setText(QStringLiteral("<a href=\"%1\">%2</a>")
                                 .arg(MorePlayersUrl.toHtmlEscaped(),
                                      LabelText(T("Step2MorePlayersLbl")).toHtmlEscaped()));
    hint(swfList, T("Step2swfListHint"));
    hint(imgHelp[10], JoinCR(parts({"Step2SelOptimgHelpHint0", "Step2SelOptimgHelpHint1"}), 2));
    hint(imgHelp[11], T("Step2PlayerStyleimgHelpHint"));

    caption(LMDLabel12, T("Step3GenPreviewLbl"));
    caption(LMDLabel16, T("Step3Step3Lbl"));
    mainGroup3->setTitle(T("Step3Gen&PrevGrp"));
    LMDGroupBox12->setTitle(T("Step3SampleGrp"));
    FileSettingsBtn->setText(T("Step3FileSettingsBtn"));
    GenerateBtn->setText(T("Step3GenerateBtn"));
    PreviewBtn->setText(T("Step3PreviewBtn"));
    caption(LMDLabel19, JoinCR(parts({"Step3CongatulLbl0", "Step3CongatulLbl1"}), 2));
    hint(imgHelp[3], T("Step3PreviewimgHelpHint0"));

    caption(LMDLabel21, T("Step4UploadLbl"));
    caption(LMDLabel20, T("Step4Step4Lbl"));
    FTPOptionsBtn->setText(T("Step4FTPOptionsBtn"));
    UploadBtn->setText(T("Step4UploadBtn"));
    caption(FTPLabel, T("Step4FTPLbl"));
    caption(HTTPLabel, T("Step4HTTPLbl"));
    Label4->setText(T("Step4FtpSiteNameLbl"));
    LMDLabel24->setText(T("Step4UserNameLbl"));
    PassLabel->setText(T("Step4PasswLbl"));
    Label7->setText(T("Step4FolderLbl"));
    Label8->setText(T("Step4UrlLbl"));
    caption(Label1, T("Step4ExpFtpNameLbl"));
    caption(Label2, T("Step4ExpUserNameLbl"));
    caption(Label3, T("Step4ExpPassLbl"));
    caption(Label5, T("Step4ExpFolderLbl"));
    caption(Label6, T("Step4ExpUrlLbl"));
    LMDButton1->setText(T("Step4CopyFilesToPCBtn"));
    hint(imgHelp[4],
         JoinCR(parts({"Step4FtpSiteNameimgHelpHint0", "Step4FtpSiteNameimgHelpHint1"}), 2));
    hint(imgHelp5ZEP, JoinCR(parts({"Step4UserNameimgHelpHint0", "Step4UserNameimgHelpHint1"}), 2));
    hint(imgHelp6ZEP, JoinCR(parts({"Step4PasswimgHelpHint0", "Step4PasswimgHelpHint1",
                                    "Step4PasswimgHelpHint2"}),
                             2));
    hint(imgHelp[7], JoinCR(parts({"Step4FolderimgHelpHint0", "Step4FolderimgHelpHint1",
                                   "Step4FolderimgHelpHint2"}),
                            2));
    hint(imgHelp[8], T("Step4UrlimgHelpHint"));
    caption(RightLabelFTP, JoinCR(parts({"Step4PleaseCheckLbl0", "Step4PleaseCheckLbl1"}), 2));

    caption(LMDLabel18, T("Step5LinkingCodeLbl"));
    caption(LMDLabel17, T("Step5Step5Lbl"));
    ClipboardBtn->setText(T("Step5ClipboardBtn"));
    StartOverBtn->setText(T("Step5StartOverBtn"));
    PlayerCodeBtn->setText(T("Step5HTMLCodeBtn"));
    EmailCodeBtn->setText(T("Step5EmailCodeBtn"));
    caption(EmailLabel, T("Step5EMailLbl"));
    caption(PlayerLabel, JoinCR(parts({"Step5PlayerLbl0", "Step5PlayerLbl1"}), 2));
    hint(imgHelp[9], JoinCR(parts({"Step5CopyCodeHelpHint0", "Step5CopyCodeHelpHint1"}), 2));

    // message texts, kept for the window's lifetime
    static const char* const kMessages[] = {
        "MainFormCloseDlg0",
        "MainFormCloseDlg1",
        "MainFormDelFileDlg",
        "MainFormSelSoundDlg",
        "MainFormSelBtnStyleDlg",
        "MainFormGenPlyerDlg",
        "MainFormSelSoundFlashDlg",
        "MainFormSelBtnStyleFlashDlg",
        "MainFormFilesGeneratedDlg",
        "MainFormFileErrorDlg",
        "MainFormSelSoundUploadDlg",
        "MainFormFileNotExistsDlg0",
        "MainFormFileNotExistsDlg1",
        "MainFormEmptyUserNameDlg",
        "MainFormEmptyPasswDlg",
        "MainFormUploadingFilesCpt",
        "MainFormSelSoundPrevFlashDlg",
        "MainFormGenPlayerBefPrevDlg",
        "MainFormFileCannotPrevDlg",
        "MainFormRecProblemDlg0",
        "MainFormRecProblemDlg1",
        "MainFormMp3DirNotExistsDlg",
        "MainFormRecCompleteDlg",
        "MainFormNotWaveDlg",
        "MainFormProvideFileNameDlg",
        "MainFormFileExistsReplaceDlg",
        "MainFormUploadNotCompleteDlg",
        "MainFormUnsuppFormatDlg",
        "MainFormAdvAreaCpt0",
        "MainFormAdvAreaCpt1",
        "MainFormAdvAreaCpt2",
        "MainFormAdvAreaCpt3",
        "MainFormFilesToPCCopiedDlg",
        "MainFormFilesCopyDlg",
        "MainHelpLink",
        "MainMp3HeaderError",
    };
    for (const char* key : kMessages)
        Messages.insert(QString::fromLatin1(key), T(key));
}
