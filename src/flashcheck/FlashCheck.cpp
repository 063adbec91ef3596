#include "FlashCheck.h"

#include "Windows1252.h"

namespace flashcheck {

QUrl downloadUrl() {
    return QUrl(QStringLiteral("http://") + QLatin1String(kDownloadHost) +
                QStringLiteral("/shockwave/download/download.cgi?P1_Prod_Version=ShockwaveFlash"));
}

QByteArray toAnsiBytes(const QString& text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    // One byte per code point: a surrogate pair is one character, a lone surrogate is
    // one character with no code.
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t cp = text.at(i).unicode();
        if (QChar::isHighSurrogate(cp) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            cp = QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
            ++i;
        } else if (QChar::isSurrogate(cp)) {
            cp = 0xFFFD;
        }
        bytes.append(toWindows1252(cp).value_or(kNoAnsiCode));
    }
    return bytes;
}

bool fitsReadBuffer(const QByteArray& ansiText) {
    return ansiText.size() + 1 < kReadBufferSize;
}

bool passesVersionRule(const QByteArray& ansiText) {
    if (ansiText.isEmpty())
        return false;
    // Signed on purpose: a code above 127 is negative and so counts as older.
    const auto last = static_cast<signed char>(ansiText.back());
    return last >= static_cast<signed char>(kOldestCurrentVersion);
}

bool flashIsCurrent(const DefaultValue& value) {
    if (value.status != DefaultValue::Status::Read)
        return false;
    const QByteArray ansi = toAnsiBytes(value.text);
    return fitsReadBuffer(ansi) && passesVersionRule(ansi);
}

int runFlashCheck(const ClassesRoot& root, DownloadPrompt& prompt) {
    if (flashIsCurrent(root.readDefaultValue(QLatin1String(kCurVerKey))))
        return 0;
    if (prompt.askYesNo(QLatin1String(kQuestionText), QLatin1String(kQuestionCaption)))
        prompt.openAddress(downloadUrl());
    return 0;
}

} // namespace flashcheck
