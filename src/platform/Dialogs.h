#pragma once
// The single way every window talks to the user through standard boxes and
// file choosers. Tests install a responder that records each call and answers
// it, so no window test ever blocks on a real dialog.

#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class QDialog;
class QWidget;

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

enum TMsgDlgBtn : unsigned {
    mbYes = 1u << 0,
    mbNo = 1u << 1,
    mbOK = 1u << 2,
    mbCancel = 1u << 3,
    mbYesToAll = 1u << 4,
    mbNoToAll = 1u << 5,
};
using TMsgDlgButtons = unsigned;

// Modal results, numbered as the window system numbers them.
enum TModalResult : int {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrYes = 6,
    mrNo = 7,
    mrNoToAll = 13,
    mrYesToAll = 14,
};

struct TMessageCall {
    QString Text;
    TMsgDlgType Kind;
    TMsgDlgButtons Buttons;
    int X, Y;
};

struct TOpenFilesCall {
    QString Title;
    QString Filter;     // Qt filter text, e.g. "MP3 Files (*.MP3 *.mp3)"
    QString DefaultExt; // without the dot
    QString InitialDir;
    bool MultiSelect = true;
};

struct TFolderCall {
    QString Title;
    QString InitialDir;
};

class TDialogResponder {
  public:
    virtual ~TDialogResponder() = default;
    virtual int Message(const TMessageCall& call) = 0;
    // An alert dialog about to be shown modally; the responder may tick its
    // check boxes or press its buttons, then returns the modal result.
    virtual int Alert(QDialog* dialog) = 0;
    virtual QStringList OpenFiles(const TOpenFilesCall& call) = 0;
    virtual QString BrowseFolder(const TFolderCall& call) = 0;
};

// nullptr restores the real dialogs.
void SetDialogResponder(TDialogResponder* responder);
TDialogResponder* DialogResponder();

// Caption of a box of the given kind ("Warning", "Error", ...).
QString MessageKindCaption(TMsgDlgType kind);

// Shows the standard box with its top-left corner at (x, y); a negative
// coordinate keeps the box's own default, both negative centre it on the screen.
int MessageDlgPos(const QString& text, TMsgDlgType kind, TMsgDlgButtons buttons, int x, int y);

// Where a box raised by a window with this outer frame goes: the window's
// centre moved left by `offset` and up by 30, halves truncated.
QPoint StandardMessagePos(const QRect& frame, int offset);
// The same for a live window (its frame geometry on the screen).
QPoint StandardMessagePos(const QWidget* window, int offset);

// Shows an alert dialog modally (through the responder in tests).
int ShowAlertModal(QDialog* dialog);

// Centres a dialog over its owner window before it is shown.
void CentreOn(QWidget* dialog, const QWidget* owner);

QStringList OpenFilesDialog(QWidget* parent, const TOpenFilesCall& call);
QString BrowseFolderDialog(QWidget* parent, const TFolderCall& call);
