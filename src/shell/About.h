#pragma once
#include <QDialog>

class QLabel;
class QPushButton;

class TAboutFrm : public QDialog {
    Q_OBJECT
  public:
    explicit TAboutFrm(QWidget* parent = nullptr);
    void LoadTexts();

    QLabel* LogoImage = nullptr;
    QLabel* MurmeloLbl = nullptr;
    QLabel* VantrelLbl = nullptr;
    QLabel* StreetLbl = nullptr;
    QLabel* CityLbl = nullptr;
    QLabel* EMailLbl = nullptr;
    QLabel* URLLbl = nullptr;
    QLabel* WarningLbl = nullptr;
    QPushButton* OKBtn0 = nullptr;
    QString UrlLink; // target of URLLbl
};
