#include "shell/Texts.h"

#include "platform/ProgramFolder.h"

#include <QStringList>

TTextCatalogue ProgramCatalogue() {
    return TTextCatalogue(ProgramFolder() + "English.ini");
}

QString JoinCR(const QStringList& parts, int crs) {
    return parts.join(QString(crs, QChar('\r')));
}

QString DisplayText(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == '\r' || c == '\n') {
            // A CR LF or LF CR pair is one break; a CR CR is two.
            if (i + 1 < text.size() && (text[i + 1] == '\r' || text[i + 1] == '\n') &&
                text[i + 1] != c)
                ++i;
            out += QChar('\n');
        } else {
            out += c;
        }
    }
    return out;
}

QString LabelText(const QString& caption) {
    QString out;
    const QString t = DisplayText(caption);
    for (qsizetype i = 0; i < t.size(); ++i) {
        if (t[i] == '&') {
            if (i + 1 < t.size() && t[i + 1] == '&') {
                out += QChar('&');
                ++i;
            }
            continue;
        }
        out += t[i];
    }
    return out;
}
