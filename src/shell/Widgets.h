#pragma once
// Small controls of the main window's design: clickable images (player
// buttons, the tour picture, the help pictures) and captions with a raised
// or sunken 3D text style.

#include <QLabel>

class TImageButton : public QLabel {
    Q_OBJECT
  public:
    explicit TImageButton(QWidget* parent = nullptr);
    void setArt(const QString& name, QSize size);

  signals:
    void clicked();

  protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

  private:
    QString Art;
    QSize ArtSize;
};

// A help picture: shows its hint when hovered or focused.
class THelpImage : public QLabel {
    Q_OBJECT
  public:
    explicit THelpImage(QWidget* parent = nullptr);
    void CopyPicture(const THelpImage* from);
};

class TEffectLabel : public QLabel {
    Q_OBJECT
  public:
    enum Style { tdExtrude, tdSunken };
    explicit TEffectLabel(QWidget* parent = nullptr);
    void setStyle3D(Style s);
    Style style3D() const { return Effect; }

  protected:
    void paintEvent(QPaintEvent* e) override;

  private:
    Style Effect = tdExtrude;
};
