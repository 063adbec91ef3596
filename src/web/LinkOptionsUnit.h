#pragma once
// The dialog for the player's end-of-play link: no link at all, or the link
// with a reseller's affiliate identifier. Its wording is fixed; it reads
// nothing from the catalogue.

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPixmap;
class QPushButton;

class TLinkOptionsForm : public QDialog {
    Q_OBJECT
  public:
    explicit TLinkOptionsForm(QWidget* parent = nullptr);

    // Takes the main window's logo picture; called once, after creation.
    void FormCreate(const QPixmap& mainLogo);

    QLabel* LMDLabel21 = nullptr; // heading
    QLabel* Logo = nullptr;
    QGroupBox* chanGroup = nullptr;
    QLabel* LMDLabel12 = nullptr; // explanation
    QPushButton* TellMeMoreBtn = nullptr;
    QGroupBox* LMDGroupBox1 = nullptr;
    QCheckBox* ResellerCheck = nullptr;
    QLabel* LMDLabel3 = nullptr;
    QLabel* LMDSimpleLabel1 = nullptr; // sign-up link
    QLabel* LMDLabel2 = nullptr;
    QLineEdit* AffiliateEdit = nullptr;
    QLabel* LMDLabel1 = nullptr; // note
    QGroupBox* LMDGroupBox2 = nullptr;
    QCheckBox* LinkCheck = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

  public slots:
    void reject() override; // Escape and the close box count as Cancel
};
