#pragma once
// Program start: the splash, then every window once in its fixed order.

class TMainForm1;
class QWidget;

struct TApplicationWindows {
    TMainForm1* MainForm1 = nullptr;
    QWidget* FTPSendForm = nullptr;
    QWidget* OptionsForm = nullptr;
    QWidget* LinkOptionsForm = nullptr;
    QWidget* MessageForm = nullptr;
    QWidget* AlertUploadForm = nullptr;
    QWidget* MessageOKCancelForm = nullptr;
    QWidget* AboutFrm = nullptr;
    QWidget* MessageCloseForm = nullptr;
};

// Shows the splash and creates the windows; the main window is then shown
// by the caller. `splashMs` is the splash's minimum time.
TApplicationWindows ExecuteApplication(int splashMs = 3000);
void DestroyApplicationWindows(TApplicationWindows& w);
