#include "shell/TextCatalogue.h"

#include <QCoreApplication>
#include <QFile>
#include <QtDebug>

namespace {

// A catalogue is a few tens of kilobytes; this only bounds what a wrong file costs.
constexpr qint64 kMaxFileSize = 16 * 1024 * 1024;

// Windows-1252 0x80..0x9F; the five unassigned bytes map to the C1 controls
// of the same number, as the Windows converter does.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool IsValidUtf8(const QByteArray& b) {
    const auto* p = reinterpret_cast<const unsigned char*>(b.constData());
    const qsizetype n = b.size();
    for (qsizetype i = 0; i < n;) {
        const unsigned c = p[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        int len;
        unsigned lo = 0x80, hi = 0xBF; // allowed range of the second byte
        if (c >= 0xC2 && c <= 0xDF) {
            len = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            len = 3;
            if (c == 0xE0)
                lo = 0xA0; // no overlong forms
            if (c == 0xED)
                hi = 0x9F; // no surrogates
        } else if (c >= 0xF0 && c <= 0xF4) {
            len = 4;
            if (c == 0xF0)
                lo = 0x90;
            if (c == 0xF4)
                hi = 0x8F; // nothing above U+10FFFF
        } else {
            return false;
        }
        if (i + len > n)
            return false;
        if (p[i + 1] < lo || p[i + 1] > hi)
            return false;
        for (int k = 2; k < len; ++k)
            if ((p[i + k] & 0xC0) != 0x80)
                return false;
        i += len;
    }
    return true;
}

bool IsBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

QStringView TrimBlanks(QStringView s) {
    qsizetype a = 0, b = s.size();
    while (a < b && IsBlank(s[a]))
        ++a;
    while (b > a && IsBlank(s[b - 1]))
        --b;
    return s.mid(a, b - a);
}

QString Fold(const QString& s) {
    return s.toCaseFolded();
}

QString DefaultsKey(const QString& section, const QString& key) {
    return Fold(section) + QChar(0x1F) + Fold(key);
}

const QHash<QString, qsizetype>& DefaultsIndex() {
    static const QHash<QString, qsizetype> index = [] {
        QHash<QString, qsizetype> h;
        const auto& all = CatalogueDefaults();
        for (qsizetype i = 0; i < qsizetype(all.size()); ++i) {
            const QString k =
                DefaultsKey(QString::fromUtf8(all[i].Section), QString::fromUtf8(all[i].Key));
            if (!h.contains(k))
                h.insert(k, i);
        }
        return h;
    }();
    return index;
}

} // namespace

QString TTextCatalogue::DecodeText(const QByteArray& bytes) {
    if (IsValidUtf8(bytes)) {
        QString s = QString::fromUtf8(bytes);
        if (s.startsWith(QChar(0xFEFF)))
            s.remove(0, 1);
        return s;
    }
    QString s(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        s[i] = QChar(c >= 0x80 && c <= 0x9F ? kCp1252High[c - 0x80] : char16_t(c));
    }
    return s;
}

TTextCatalogue::TTextCatalogue(const QString& iniPath) {
    QFile f(iniPath);
    if (!f.open(QIODevice::ReadOnly))
        return;
    // in pieces: read(max) would reserve the whole limit up front
    QByteArray bytes;
    while (!f.atEnd() && bytes.size() < kMaxFileSize) {
        const QByteArray piece = f.read(qMin<qint64>(64 * 1024, kMaxFileSize - bytes.size()));
        if (piece.isEmpty())
            break;
        bytes += piece;
    }
    if (f.error() != QFileDevice::NoError)
        return;
    Parse(DecodeText(bytes));
}

TTextCatalogue TTextCatalogue::FromBytes(const QByteArray& bytes) {
    TTextCatalogue c;
    c.Parse(DecodeText(bytes));
    return c;
}

QString TTextCatalogue::DefaultPath() {
    return QCoreApplication::applicationDirPath() + QLatin1String("/English.ini");
}

void TTextCatalogue::Parse(const QString& text) {
    Section* current = nullptr;
    qsizetype pos = 0;
    const qsizetype n = text.size();
    while (pos < n) {
        qsizetype end = pos;
        while (end < n && text[end] != u'\n' && text[end] != u'\r')
            ++end;
        const QStringView line = TrimBlanks(QStringView(text).mid(pos, end - pos));
        // one line break: CR LF, LF or a lone CR
        pos = end + (end + 1 < n && text[end] == u'\r' && text[end + 1] == u'\n' ? 2 : 1);

        if (line.isEmpty() || line.front() == u';')
            continue;
        if (line.front() == u'[') {
            qsizetype close = line.indexOf(u']');
            if (close < 0)
                close = line.size();
            const QString name = TrimBlanks(line.mid(1, close - 1)).toString();
            const QString folded = Fold(name);
            auto it = m_sections.find(folded);
            if (it == m_sections.end()) {
                it = m_sections.insert(folded, Section{name, {}, {}});
                m_sectionOrder.append(folded);
            }
            current = &it.value();
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (!current || eq < 0)
            continue;
        const QString key = TrimBlanks(line.left(eq)).toString();
        if (key.isEmpty())
            continue;
        const QString folded = Fold(key);
        if (current->Values.contains(folded))
            continue; // the first entry of a key is the one that counts
        QStringView value = TrimBlanks(line.mid(eq + 1));
        if (value.size() >= 2 && value.front() == value.back() &&
            (value.front() == u'"' || value.front() == u'\''))
            value = value.mid(1, value.size() - 2);
        if (value.size() > kMaxValueLength) {
            qsizetype cut = kMaxValueLength;
            // never hand out half of a surrogate pair
            if (value[cut - 1].isHighSurrogate())
                --cut;
            value = value.left(cut);
        }
        current->KeyOrder.append(key);
        current->Values.insert(folded, value.toString());
    }
}

QString TTextCatalogue::Read(const QString& section, const QString& key, const QString& def) const {
    const auto s = m_sections.constFind(Fold(section));
    if (s == m_sections.constEnd())
        return def;
    const auto v = s->Values.constFind(Fold(key));
    return v == s->Values.constEnd() ? def : *v;
}

bool TTextCatalogue::HasEntry(const QString& section, const QString& key) const {
    const auto s = m_sections.constFind(Fold(section));
    return s != m_sections.constEnd() && s->Values.contains(Fold(key));
}

QList<QString> TTextCatalogue::Sections() const {
    QList<QString> names;
    for (const QString& f : m_sectionOrder)
        names.append(m_sections.value(f).Name);
    return names;
}

QList<QString> TTextCatalogue::Keys(const QString& section) const {
    const auto s = m_sections.constFind(Fold(section));
    return s == m_sections.constEnd() ? QList<QString>{} : s->KeyOrder;
}

QString TTextCatalogue::Text(const QString& section, const QString& key) const {
    const auto& index = DefaultsIndex();
    const auto it = index.constFind(DefaultsKey(section, key));
    if (it == index.constEnd()) {
        qWarning("text catalogue: no built-in text for [%s] %s", qUtf8Printable(section),
                 qUtf8Printable(key));
        return Read(section, key, QString());
    }
    return Read(section, key, QString::fromUtf8(CatalogueDefaults()[*it].Default));
}

QString TTextCatalogue::Text(const QString& section, const QString& key, const char* window) const {
    for (const TCatalogueEntry& e : CatalogueDefaults()) {
        if (qstrcmp(e.Window, window) == 0 &&
            section.compare(QLatin1String(e.Section), Qt::CaseInsensitive) == 0 &&
            key.compare(QString::fromUtf8(e.Key), Qt::CaseInsensitive) == 0)
            return Read(section, key, QString::fromUtf8(e.Default));
    }
    return Text(section, key);
}
