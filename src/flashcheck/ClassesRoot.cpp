#include "ClassesRoot.h"

#include "Windows1252.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QStringTokenizer>

#include <utility>

#ifdef _WIN32
#include <windows.h>
#endif

namespace flashcheck {

namespace {

// A whole HKEY_CLASSES_ROOT export is some tens of megabytes; anything far beyond that is
// not a registry export, and reading it whole would only exhaust memory.
constexpr qint64 kMaxRegFileSize = qint64(256) * 1024 * 1024;

QString decodeWith(QStringConverter::Encoding encoding, QByteArrayView bytes) {
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}

enum class ValueLine { Text, Deleted, NotText, Malformed };

// The right-hand side of a value line, after "@": `="..."` with \\ and \" escapes,
// `=-` (value deleted), or another type (dword:, hex:...).
ValueLine parseDefaultValue(QStringView rest, QString& text) {
    rest = rest.trimmed();
    if (!rest.startsWith(u'='))
        return ValueLine::Malformed;
    rest = rest.mid(1).trimmed();
    if (rest == u"-")
        return ValueLine::Deleted;
    if (!rest.startsWith(u'"'))
        return rest.isEmpty() ? ValueLine::Malformed : ValueLine::NotText;
    text.clear();
    for (qsizetype i = 1; i < rest.size(); ++i) {
        const QChar c = rest.at(i);
        if (c == u'"') {
            // Only blanks may follow the closing quote.
            return rest.mid(i + 1).trimmed().isEmpty() ? ValueLine::Text : ValueLine::Malformed;
        }
        if (c == u'\\') {
            if (i + 1 >= rest.size())
                return ValueLine::Malformed;
            const QChar escaped = rest.at(++i);
            if (escaped != u'\\' && escaped != u'"')
                return ValueLine::Malformed;
            text.append(escaped);
        } else {
            text.append(c);
        }
    }
    return ValueLine::Malformed; // no closing quote
}

bool isHeader(QStringView line) {
    return line == u"Windows Registry Editor Version 5.00" || line == u"REGEDIT4";
}

} // namespace

QString decodeRegText(const QByteArray& fileBytes) {
    const QByteArrayView bytes(fileBytes);
    if (bytes.startsWith("\xFF\xFE"))
        return decodeWith(QStringConverter::Utf16LE, bytes.sliced(2));
    if (bytes.startsWith("\xFE\xFF"))
        return decodeWith(QStringConverter::Utf16BE, bytes.sliced(2));
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return decodeWith(QStringConverter::Utf8, bytes.sliced(3));
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return fromWindows1252(bytes); // an ANSI file, as REGEDIT4 wrote them
}

DefaultValue readDefaultValueFromRegText(const QByteArray& fileBytes, const QString& keyPath) {
    const QString wantedKey = QStringLiteral("HKEY_CLASSES_ROOT\\") + keyPath;
    const QString text = decodeRegText(fileBytes);

    DefaultValue result;
    bool inWantedKey = false;
    bool firstLine = true;
    for (QStringView line : qTokenize(text, u'\n')) {
        line = line.trimmed(); // also drops the '\r' of CRLF files
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        const bool wasFirst = std::exchange(firstLine, false);
        if (wasFirst && isHeader(line))
            continue;
        if (line.startsWith(u'[')) {
            if (!line.endsWith(u']')) {
                // A broken key line must not let its values land in the key before it.
                inWantedKey = false;
                continue;
            }
            QStringView key = line.sliced(1, line.size() - 2);
            const bool deletion = key.startsWith(u'-');
            if (deletion)
                key = key.sliced(1);
            const bool matches = key.compare(wantedKey, Qt::CaseInsensitive) == 0;
            if (deletion && matches)
                result = DefaultValue{};
            inWantedKey = matches && !deletion;
            continue;
        }
        if (!inWantedKey || !line.startsWith(u'@'))
            continue; // named values, hex continuation lines, other keys
        QString value;
        switch (parseDefaultValue(line.sliced(1), value)) {
        case ValueLine::Text:
            result = DefaultValue{DefaultValue::Status::Read, value};
            break;
        case ValueLine::Deleted:
            result = DefaultValue{};
            break;
        case ValueLine::NotText:
        case ValueLine::Malformed:
            result = DefaultValue{DefaultValue::Status::ReadFailed, {}};
            break;
        }
    }
    return result;
}

RegFileClassesRoot::RegFileClassesRoot(QString filePath) : m_filePath(std::move(filePath)) {}

QString RegFileClassesRoot::defaultFilePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/flashcheck/classes.reg");
}

DefaultValue RegFileClassesRoot::readDefaultValue(const QString& keyPath) const {
    // Only a regular file: a fifo or device in its place would block or never end.
    const QFileInfo info(m_filePath);
    if (!info.isFile() || info.size() > kMaxRegFileSize)
        return {};
    QFile file(m_filePath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.read(kMaxRegFileSize + 1);
    if (bytes.size() > kMaxRegFileSize)
        return {};
    return readDefaultValueFromRegText(bytes, keyPath);
}

#ifdef _WIN32
DefaultValue RegistryClassesRoot::readDefaultValue(const QString& keyPath) const {
    HKEY key = nullptr;
    const std::wstring path = keyPath.toStdWString();
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return {};
    // Four bytes of UTF-16 per character at most, so a value that does not fit here could
    // never fit the 80-byte 8-bit buffer either; the caller applies that rule exactly.
    wchar_t buffer[80 * 2 + 1] = {};
    DWORD size = sizeof(buffer) - sizeof(wchar_t);
    const LONG status =
        RegQueryValueExW(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS)
        return {DefaultValue::Status::ReadFailed, {}};
    // The type is not examined: the data is taken as text of the returned length, less
    // its terminating zero.
    qsizetype units = size / sizeof(wchar_t);
    if (units > 0 && buffer[units - 1] == L'\0')
        --units;
    return {DefaultValue::Status::Read, QString::fromWCharArray(buffer, static_cast<int>(units))};
}
#endif

} // namespace flashcheck
