#include "shell/About.h"

#include "platform/Art.h"
#include "platform/Dialogs.h"
#include "platform/Launcher.h"
#include "shell/Texts.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace {
QLabel* makeLabel(QWidget* parent, const char* name, QRect geom) {
    auto* l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(geom);
    return l;
}
} // namespace

TAboutFrm::TAboutFrm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutFrm"));
    // Fixed size, system menu only.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(435, 297);
    setModal(true);

    LogoImage = makeLabel(this, "Logo", QRect(20, 20, 53, 53));
    LogoImage->setPixmap(ArtPixmap(QStringLiteral("logo"), QSize(53, 53), this));
    MurmeloLbl = makeLabel(this, "MurmeloLbl", QRect(90, 20, 330, 24));
    QFont big = MurmeloLbl->font();
    big.setPointSizeF(big.pointSizeF() * 1.3);
    big.setBold(true);
    MurmeloLbl->setFont(big);
    VantrelLbl = makeLabel(this, "VantrelLbl", QRect(90, 52, 330, 18));
    StreetLbl = makeLabel(this, "StreetLbl", QRect(90, 72, 330, 18));
    CityLbl = makeLabel(this, "CityLbl", QRect(90, 92, 330, 18));
    EMailLbl = makeLabel(this, "EMailLbl", QRect(90, 116, 330, 18));
    URLLbl = makeLabel(this, "URLLbl", QRect(90, 136, 330, 18));
    for (QLabel* link : {EMailLbl, URLLbl}) {
        link->setCursor(Qt::PointingHandCursor);
        link->setTextFormat(Qt::RichText);
        link->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
        link->setOpenExternalLinks(false);
        connect(link, &QLabel::linkActivated, this,
                [](const QString& target) { Launcher::Open(target); });
    }
    auto* rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    rule->setGeometry(20, 164, 395, 2);
    WarningLbl = makeLabel(this, "WarningLbl", QRect(20, 172, 395, 78));
    WarningLbl->setWordWrap(true);
    WarningLbl->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont small = WarningLbl->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    WarningLbl->setFont(small);
    OKBtn0 = new QPushButton(this);
    OKBtn0->setObjectName(QStringLiteral("OKBtn0"));
    OKBtn0->setGeometry(340, 260, 75, 25);
    OKBtn0->setText(QStringLiteral("OK")); // the designed caption; the catalogue has no key for it
    OKBtn0->setDefault(true);
    connect(OKBtn0, &QPushButton::clicked, this, [this] { done(mrOk); });
    LoadTexts();
}

void TAboutFrm::LoadTexts() {
    const TTextCatalogue cat = ProgramCatalogue();
    const char* s = "AboutForm";
    setWindowTitle(cat.Text(s, "AboutFormCpt"));
    MurmeloLbl->setText(LabelText(cat.Text(s, "MurmeloLbl")));
    VantrelLbl->setText(LabelText(cat.Text(s, "VantrelLbl")));
    StreetLbl->setText(LabelText(cat.Text(s, "StreetLbl")));
    CityLbl->setText(LabelText(cat.Text(s, "CityLbl")));
    const QString mail = cat.Text(s, "EMailLbl");
    EMailLbl->setText(QStringLiteral("<a href=\"mailto:%1\">%2</a>")
                          .arg(mail.toHtmlEscaped(), mail.toHtmlEscaped()));
    UrlLink = cat.Text(s, "URLLblLink");
    URLLbl->setText(QStringLiteral("<a href=\"%1\">%2</a>")
                        .arg(UrlLink.toHtmlEscaped(), cat.Text(s, "URLLbl").toHtmlEscaped()));
    WarningLbl->setText(DisplayText(cat.Text(s, "WarningLbl0") + cat.Text(s, "WarningLbl1")));
}
