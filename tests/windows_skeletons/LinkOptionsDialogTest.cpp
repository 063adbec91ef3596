#include "CatalogueFolder.h"
#include "WindowFit.h"
#include "platform/Dialogs.h"
#include "web/LinkOptionsUnit.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <functional>

namespace {
void PressKey(QWidget* target, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
}

using LinkOptionsDialog = CatalogueFolder;
} // namespace

TEST_F(LinkOptionsDialog, KeepsItsDesignedWordingWhateverTheCatalogue) {
    WriteCatalogue("[Strings]\nOKBtn=X\nCancelBtn=Y\n[RecOptionsForm]\nOKBtn=X\nCancelBtn=Y\n"
                   "[LinkOptionsForm]\nOKBtn=X\nCancelBtn=Y\nLinkCheck=Z\n");
    TLinkOptionsForm f;
    EXPECT_EQ(f.windowTitle(), "LinkOptionsForm");
    EXPECT_EQ(f.LMDLabel21->text(), "End of Play Linking Options");
    EXPECT_EQ(f.OKBtn->text(), "OK");
    EXPECT_EQ(f.CancelBtn->text(), "Cancel");
    EXPECT_EQ(f.LinkCheck->text(), "I don't want any link to your website!");
    EXPECT_EQ(f.ResellerCheck->text(), "");
    EXPECT_EQ(f.LMDLabel3->text(), "I want to be a reseller and earn commision on referrals!");
    EXPECT_EQ(f.LMDSimpleLabel1->text(), "Click Here to SIGN UP");
    EXPECT_EQ(f.LMDLabel2->text(), ", then enter your affiliate link below...");
    EXPECT_EQ(f.TellMeMoreBtn->text(), "Tell me more...");
    const QStringList lines = f.LMDLabel12->text().split('\n');
    ASSERT_EQ(lines.size(), 6);
    EXPECT_TRUE(lines[0].startsWith("At the end of playing your sound file"));
    EXPECT_EQ(lines[3], "");
    EXPECT_EQ(lines[5], "shown.");
    EXPECT_EQ(f.LMDLabel1->text().split('\n'),
              QStringList({"Note: after your voice file plays, the link to our website",
                           "will now include your affiliate link!"}));
}

TEST_F(LinkOptionsDialog, TakesTheMainWindowsLogo) {
    TLinkOptionsForm f;
    QPixmap logo(53, 53);
    logo.fill(Qt::white);
    QPainter(&logo).fillRect(10, 20, 5, 5, Qt::red);
    f.FormCreate(logo);
    EXPECT_EQ(f.Logo->pixmap().toImage(), logo.toImage());
}

TEST_F(LinkOptionsDialog, OkIsTheDefaultAndEscapeCancels) {
    struct Case {
        const char* What;
        std::function<void(TLinkOptionsForm&)> Act;
        int Result;
    };
    const Case cases[] = {
        {"OK", [](TLinkOptionsForm& f) { f.OKBtn->click(); }, mrOk},
        {"Cancel", [](TLinkOptionsForm& f) { f.CancelBtn->click(); }, mrCancel},
        {"Enter", [](TLinkOptionsForm& f) { PressKey(f.AffiliateEdit, Qt::Key_Return); }, mrOk},
        {"Escape", [](TLinkOptionsForm& f) { PressKey(f.LinkCheck, Qt::Key_Escape); }, mrCancel},
        {"close box", [](TLinkOptionsForm& f) { f.close(); }, mrCancel},
    };
    for (const Case& c : cases) {
        TLinkOptionsForm f;
        f.show();
        c.Act(f);
        EXPECT_FALSE(f.isVisible()) << c.What;
        EXPECT_EQ(f.result(), c.Result) << c.What;
    }
}

TEST_F(LinkOptionsDialog, FixedSizeThatFitsItsTexts) {
    TLinkOptionsForm f;
    f.show();
    QApplication::processEvents();
    EXPECT_EQ(f.minimumSize(), f.maximumSize());
    EXPECT_TRUE(LayoutFits(&f));
    for (const QLabel* l : {f.LMDLabel12, f.LMDLabel3, f.LMDLabel1, f.LMDLabel21})
        EXPECT_GE(l->width(), l->sizeHint().width()) << l->objectName().toStdString();
}
