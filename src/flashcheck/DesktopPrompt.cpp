#include "DesktopPrompt.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>

#include <cstdio>
#include <cstdlib>

#ifdef _WIN32
#include <shellapi.h>
#include <windows.h>
#endif

namespace flashcheck {

namespace {

QtMessageHandler g_previousHandler = nullptr;

// Without a usable display Qt gives up with a fatal message and abort(); this program
// ends with 0 whatever happens, so leave quietly instead.
void exitQuietlyOnFatal(QtMsgType type, const QMessageLogContext& context, const QString& msg) {
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "flashcheck: %s\n", qPrintable(msg));
        std::_Exit(0);
    }
    if (g_previousHandler)
        g_previousHandler(type, context, msg);
}

} // namespace

DesktopPrompt::DesktopPrompt() = default;
DesktopPrompt::~DesktopPrompt() = default;

void DesktopPrompt::ensureApplication() {
    if (QApplication::instance())
        return;
    g_previousHandler = qInstallMessageHandler(exitQuietlyOnFatal);
    m_app = std::make_unique<QApplication>(m_argc, m_argv);
    qInstallMessageHandler(g_previousHandler);
}

bool DesktopPrompt::askYesNo(const QString& text, const QString& caption) {
    ensureApplication();
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Yes | QMessageBox::No,
                    nullptr);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

void DesktopPrompt::openAddress(const QUrl& address) {
#ifdef _WIN32
    const std::wstring url = address.toString().toStdWString();
    ShellExecuteW(nullptr, L"open", url.c_str(), nullptr, nullptr, SW_SHOWMAXIMIZED);
#else
    // The desktop's URL handler decides how the browser window opens.
    QDesktopServices::openUrl(address);
#endif
}

} // namespace flashcheck
