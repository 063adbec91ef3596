#include "web/LinkOptionsUnit.h"

#include "platform/Dialogs.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QLabel* PlainLabel(const QString& name, const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setTextFormat(Qt::PlainText);
    return l;
}

template <class T> T* Named(const QString& name, QWidget* parent) {
    auto* w = new T(parent);
    w->setObjectName(name);
    return w;
}
} // namespace

TLinkOptionsForm::TLinkOptionsForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("LinkOptionsForm"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(true);
    setWindowTitle(QStringLiteral("LinkOptionsForm"));

    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 10);
    root->setSpacing(8);
    // The dialog is exactly as large as its fixed texts need.
    root->setSizeConstraint(QLayout::SetFixedSize);

    // top panel
    auto* top = Named<QWidget>(QStringLiteral("TopPanel"), this);
    top->setAutoFillBackground(true);
    top->setBackgroundRole(QPalette::Base);
    auto* topRow = new QHBoxLayout(top);
    topRow->setContentsMargins(12, 6, 12, 6);
    LMDLabel21 = PlainLabel(QStringLiteral("LMDLabel21"),
                            QStringLiteral("End of Play Linking Options"), top);
    QFont heading = LMDLabel21->font();
    heading.setBold(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.6);
    LMDLabel21->setFont(heading);
    Logo = Named<QLabel>(QStringLiteral("Logo"), top);
    Logo->setFixedSize(53, 53);
    Logo->setScaledContents(true);
    topRow->addWidget(LMDLabel21, 1);
    topRow->addWidget(Logo);
    root->addWidget(top);

    auto* body = new QHBoxLayout;
    body->setContentsMargins(12, 0, 12, 0);
    body->setSpacing(10);

    // left: what the link is
    chanGroup = Named<QGroupBox>(QStringLiteral("chanGroup"), this);
    auto* left = new QVBoxLayout(chanGroup);
    LMDLabel12 = PlainLabel(
        QStringLiteral("LMDLabel12"),
        QStringList{
            QStringLiteral("At the end of playing your sound file, a link to our website is "
                           "shown. Here you can add your"),
            QStringLiteral("affiliate link to this area, and earn commissions from anyone who "
                           "clicks on this link and "),
            QStringLiteral("purchases our software."), QString(),
            QStringLiteral("Additionally, if you prefer, you can remove this link all together, "
                           "and no link to our website will be"),
            QStringLiteral("shown.")}
            .join(QChar('\n')),
        chanGroup);
    LMDLabel12->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    TellMeMoreBtn = Named<QPushButton>(QStringLiteral("TellMeMoreBtn"), chanGroup);
    TellMeMoreBtn->setText(QStringLiteral("Tell me more..."));
    TellMeMoreBtn->setAutoDefault(false);
    left->addWidget(LMDLabel12);
    left->addStretch(1);
    left->addWidget(TellMeMoreBtn, 0, Qt::AlignLeft);
    body->addWidget(chanGroup);

    // right: the reseller's link, and no link at all
    auto* right = new QVBoxLayout;
    LMDGroupBox1 = Named<QGroupBox>(QStringLiteral("LMDGroupBox1"), this);
    auto* g1 = new QVBoxLayout(LMDGroupBox1);
    auto* resellerRow = new QHBoxLayout;
    ResellerCheck = Named<QCheckBox>(QStringLiteral("ResellerCheck"), LMDGroupBox1);
    LMDLabel3 = PlainLabel(
        QStringLiteral("LMDLabel3"),
        QStringLiteral("I want to be a reseller and earn commision on referrals!"), LMDGroupBox1);
    resellerRow->addWidget(ResellerCheck);
    resellerRow->addWidget(LMDLabel3, 1);
    g1->addLayout(resellerRow);
    auto* signUpRow = new QHBoxLayout;
    signUpRow->setSpacing(0);
    LMDSimpleLabel1 = PlainLabel(QStringLiteral("LMDSimpleLabel1"),
                                 QStringLiteral("Click Here to SIGN UP"), LMDGroupBox1);
    QFont link = LMDSimpleLabel1->font();
    link.setUnderline(true);
    LMDSimpleLabel1->setFont(link);
    QPalette linkPalette = LMDSimpleLabel1->palette();
    linkPalette.setColor(QPalette::WindowText, linkPalette.color(QPalette::Link));
    LMDSimpleLabel1->setPalette(linkPalette);
    LMDSimpleLabel1->setCursor(Qt::PointingHandCursor);
    LMDLabel2 =
        PlainLabel(QStringLiteral("LMDLabel2"),
                   QStringLiteral(", then enter your affiliate link below..."), LMDGroupBox1);
    signUpRow->addWidget(LMDSimpleLabel1);
    signUpRow->addWidget(LMDLabel2, 1);
    g1->addLayout(signUpRow);
    AffiliateEdit = Named<QLineEdit>(QStringLiteral("AffiliateEdit"), LMDGroupBox1);
    g1->addWidget(AffiliateEdit);
    LMDLabel1 = PlainLabel(QStringLiteral("LMDLabel1"),
                           QStringLiteral("Note: after your voice file plays, the link to our "
                                          "website\nwill now include your affiliate link!"),
                           LMDGroupBox1);
    g1->addWidget(LMDLabel1);
    right->addWidget(LMDGroupBox1);

    LMDGroupBox2 = Named<QGroupBox>(QStringLiteral("LMDGroupBox2"), this);
    auto* g2 = new QVBoxLayout(LMDGroupBox2);
    LinkCheck = Named<QCheckBox>(QStringLiteral("LinkCheck"), LMDGroupBox2);
    LinkCheck->setText(QStringLiteral("I don't want any link to your website!"));
    g2->addWidget(LinkCheck);
    right->addWidget(LMDGroupBox2);
    right->addStretch(1);
    body->addLayout(right);
    root->addLayout(body);

    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(12, 0, 12, 0);
    buttons->addStretch(1);
    OKBtn = Named<QPushButton>(QStringLiteral("OKBtn"), this);
    OKBtn->setText(QStringLiteral("OK"));
    OKBtn->setDefault(true);
    OKBtn->setMinimumWidth(80);
    CancelBtn = Named<QPushButton>(QStringLiteral("CancelBtn"), this);
    CancelBtn->setText(QStringLiteral("Cancel"));
    CancelBtn->setAutoDefault(false);
    CancelBtn->setMinimumWidth(80);
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    root->addLayout(buttons);

    connect(OKBtn, &QPushButton::clicked, this, [this] { done(mrOk); });
    connect(CancelBtn, &QPushButton::clicked, this, [this] { done(mrCancel); });

    // left column first, then the right one, then the buttons
    setTabOrder(TellMeMoreBtn, ResellerCheck);
    setTabOrder(ResellerCheck, AffiliateEdit);
    setTabOrder(AffiliateEdit, LinkCheck);
    setTabOrder(LinkCheck, OKBtn);
    setTabOrder(OKBtn, CancelBtn);
}

void TLinkOptionsForm::FormCreate(const QPixmap& mainLogo) {
    Logo->setPixmap(mainLogo);
}

void TLinkOptionsForm::reject() {
    done(mrCancel);
}
