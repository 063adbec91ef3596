#pragma once

#include "FlashCheck.h"

#include <memory>

class QApplication;

namespace flashcheck {

// The real question box (QMessageBox) and browser launcher. The application object is
// only made when the question is actually asked, so a current player needs no display.
class DesktopPrompt : public DownloadPrompt {
  public:
    DesktopPrompt();
    ~DesktopPrompt() override;

    bool askYesNo(const QString& text, const QString& caption) override;
    void openAddress(const QUrl& address) override;

  private:
    void ensureApplication();

    // QApplication keeps references to these for its whole life.
    int m_argc = 1;
    char m_programName[11] = "flashcheck";
    char* m_argv[2] = {m_programName, nullptr};
    std::unique_ptr<QApplication> m_app;
};

} // namespace flashcheck
