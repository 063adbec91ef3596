#include "shell/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>

#ifdef Q_OS_WIN
#include <QSaveFile>
#else
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

const char kHeader[] = "Murmelo Settings Store 1";
// A settings file is a few kilobytes; anything far bigger is not ours, and
// reading it whole would only waste memory.
constexpr qint64 kMaxFileSize = 64 * 1024 * 1024;
// Deeper paths come only from damage; bounding them keeps the tree shallow.
constexpr int kMaxDepth = 64;

bool SameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool Less(const TStoreKey& k, const QString& name) {
    return k.Name.compare(name, Qt::CaseInsensitive) < 0;
}

int HexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

// Reads a quoted, escaped text starting at line[pos] == '"'; leaves pos after
// the closing quote.
bool ParseQuoted(const QString& line, qsizetype& pos, QString& out) {
    if (pos >= line.size() || line[pos] != u'"')
        return false;
    out.clear();
    for (++pos; pos < line.size(); ++pos) {
        const QChar c = line[pos];
        if (c == u'"') {
            ++pos;
            return true;
        }
        if (c != u'\\') {
            out += c;
            continue;
        }
        if (++pos >= line.size())
            return false;
        switch (line[pos].unicode()) {
        case u'\\':
            out += u'\\';
            break;
        case u'"':
            out += u'"';
            break;
        case u'n':
            out += u'\n';
            break;
        case u'r':
            out += u'\r';
            break;
        case u't':
            out += u'\t';
            break;
        case u'u': {
            if (pos + 4 >= line.size())
                return false;
            int v = 0;
            for (int i = 1; i <= 4; ++i) {
                const int d = HexDigit(line[pos + i]);
                if (d < 0)
                    return false;
                v = v * 16 + d;
            }
            out += QChar(char16_t(v));
            pos += 4;
            break;
        }
        default:
            return false;
        }
    }
    return false; // no closing quote
}

// Characters written as they are. Lone surrogates, controls, separators that
// editors treat as line breaks and byte order marks are escaped instead, so the
// file stays valid, visible UTF-8 and every text comes back unit for unit.
bool PlainChar(QChar c) {
    return !c.isSurrogate() && c.isPrint() && c.category() != QChar::Separator_Line &&
           c.category() != QChar::Separator_Paragraph && c != QChar(0xFEFF);
}

void AppendEscapedUnit(QString& out, char16_t u) {
    static const char hex[] = "0123456789ABCDEF";
    out += QLatin1String("\\u");
    for (int shift = 12; shift >= 0; shift -= 4)
        out += QLatin1Char(hex[(u >> shift) & 0xF]);
}

void AppendQuoted(QString& out, const QString& s) {
    out += u'"';
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        switch (c.unicode()) {
        case u'\\':
            out += QLatin1String("\\\\");
            continue;
        case u'"':
            out += QLatin1String("\\\"");
            continue;
        case u'\n':
            out += QLatin1String("\\n");
            continue;
        case u'\r':
            out += QLatin1String("\\r");
            continue;
        case u'\t':
            out += QLatin1String("\\t");
            continue;
        default:
            break;
        }
        if (c.isHighSurrogate() && i + 1 < s.size() && s[i + 1].isLowSurrogate()) {
            const char32_t ucs = QChar::surrogateToUcs4(c, s[i + 1]);
            if (QChar::isPrint(ucs)) {
                out += c;
                out += s[i + 1];
            } else {
                AppendEscapedUnit(out, c.unicode());
                AppendEscapedUnit(out, s[i + 1].unicode());
            }
            ++i;
            continue;
        }
        if (!PlainChar(c))
            AppendEscapedUnit(out, c.unicode());
        else
            out += c;
    }
    out += u'"';
}

bool IsBareComponent(const QString& s) {
    if (s.isEmpty() || s.front() == u' ' || s.back() == u' ')
        return false;
    for (const QChar c : s) {
        if (c == u'\\' || c == u'[' || c == u']' || c == u'"' || !PlainChar(c))
            return false;
    }
    return true;
}

bool ParseKeyLine(const QString& line, QStringList& path) {
    // line is trimmed and starts with '['
    if (line.size() < 2 || line.back() != u']')
        return false;
    path.clear();
    qsizetype pos = 1;
    const qsizetype end = line.size() - 1; // index of the final ']'
    while (true) {
        QString comp;
        if (pos < end && line[pos] == u'"') {
            if (!ParseQuoted(line, pos, comp) || pos > end)
                return false;
        } else {
            const qsizetype start = pos;
            while (pos < end && line[pos] != u'\\' && line[pos] != u']' && line[pos] != u'"' &&
                   line[pos] != u'[')
                ++pos;
            comp = line.mid(start, pos - start);
            if (comp.isEmpty())
                return false;
        }
        path.append(comp);
        if (path.size() > kMaxDepth)
            return false;
        if (pos == end)
            return true;
        if (line[pos] != u'\\')
            return false;
        ++pos;
    }
}

bool ParseValueLine(const QString& line, QString& name, QString& text) {
    qsizetype pos = 0;
    if (!ParseQuoted(line, pos, name))
        return false;
    while (pos < line.size() && (line[pos] == u' ' || line[pos] == u'\t'))
        ++pos;
    if (pos >= line.size() || line[pos] != u'=')
        return false;
    ++pos;
    while (pos < line.size() && (line[pos] == u' ' || line[pos] == u'\t'))
        ++pos;
    if (!ParseQuoted(line, pos, text))
        return false;
    return pos == line.size();
}

void FormatKey(QString& out, const TStoreKey& key, QStringList& path) {
    path.append(key.Name);
    out += u'[';
    for (qsizetype i = 0; i < path.size(); ++i) {
        if (i > 0)
            out += u'\\';
        if (IsBareComponent(path[i]))
            out += path[i];
        else
            AppendQuoted(out, path[i]);
    }
    out += QLatin1String("]\n");
    for (const auto& [name, text] : key.Values) {
        AppendQuoted(out, name);
        out += u'=';
        AppendQuoted(out, text);
        out += u'\n';
    }
    out += u'\n';
    for (const TStoreKey& sub : key.Subkeys)
        FormatKey(out, sub, path);
    path.removeLast();
}

QStringList SplitRoot(const QString& rootKey) {
    QStringList parts;
    for (const QString& p : rootKey.split(u'\\'))
        if (!p.isEmpty())
            parts.append(p);
    return parts;
}

} // namespace

// ---- tree ---------------------------------------------------------------

const TStoreKey* TStoreKey::Find(const QString& name) const {
    auto it = std::lower_bound(Subkeys.begin(), Subkeys.end(), name, Less);
    return it != Subkeys.end() && SameName(it->Name, name) ? &*it : nullptr;
}

TStoreKey* TStoreKey::Find(const QString& name) {
    return const_cast<TStoreKey*>(std::as_const(*this).Find(name));
}

TStoreKey& TStoreKey::FindOrAdd(const QString& name) {
    auto it = std::lower_bound(Subkeys.begin(), Subkeys.end(), name, Less);
    if (it != Subkeys.end() && SameName(it->Name, name))
        return *it;
    TStoreKey k;
    k.Name = name;
    return *Subkeys.insert(it, std::move(k));
}

bool TStoreKey::Remove(const QString& name) {
    auto it = std::lower_bound(Subkeys.begin(), Subkeys.end(), name, Less);
    if (it == Subkeys.end() || !SameName(it->Name, name))
        return false;
    Subkeys.erase(it);
    return true;
}

const QString* TStoreKey::Value(const QString& name) const {
    for (const auto& v : Values)
        if (SameName(v.first, name))
            return &v.second;
    return nullptr;
}

void TStoreKey::SetValue(const QString& name, const QString& text) {
    // an existing value keeps the spelling it was created with
    for (auto& v : Values) {
        if (SameName(v.first, name)) {
            v.second = text;
            return;
        }
    }
    Values.append({name, text});
}

TStoreKey ParseStoreText(const QByteArray& bytes, bool* damaged) {
    TStoreKey top;
    bool bad = false;
    QString all = QString::fromUtf8(bytes);
    if (all.startsWith(QChar(0xFEFF)))
        all.remove(0, 1);
    TStoreKey* current = nullptr;
    QStringList path;
    QString name, text;
    for (QStringView raw : QStringView(all).split(u'\n')) {
        const QString line = raw.trimmed().toString();
        if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#') || line == kHeader)
            continue;
        if (line.startsWith(u'[')) {
            if (ParseKeyLine(line, path)) {
                current = &top;
                for (const QString& comp : path)
                    current = &current->FindOrAdd(comp);
            } else {
                // values under a broken key line must not land in the key before it
                current = nullptr;
                bad = true;
            }
        } else if (current && ParseValueLine(line, name, text)) {
            current->SetValue(name, text);
        } else {
            bad = true;
        }
    }
    if (damaged)
        *damaged = bad;
    return top;
}

QByteArray FormatStoreText(const TStoreKey& top) {
    QString out = QLatin1String(kHeader) + QLatin1String("\n\n");
    QStringList path;
    for (const TStoreKey& k : top.Subkeys)
        FormatKey(out, k, path);
    return out.toUtf8();
}

// ---- store --------------------------------------------------------------

TSettingsStore::TSettingsStore(QString filePath, QString rootKey)
    : m_filePath(std::move(filePath)), m_root(ProductKeyPath() + SplitRoot(rootKey)) {}

QString TSettingsStore::DefaultFilePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QLatin1String("/Vantrel Software/Murmelo.net.reg");
}

QStringList TSettingsStore::ProductKeyPath() {
    return {QStringLiteral("Software"), QStringLiteral("Vantrel Software"),
            QStringLiteral("Murmelo.net")};
}

TSettingsStore TSettingsStore::Below(const QString& name) const {
    TSettingsStore s(*this);
    s.m_root.append(name);
    return s;
}

TSettingsStore::LoadResult TSettingsStore::Load(TStoreKey& top) const {
    top = TStoreKey{};
    QFile f(m_filePath);
    if (!f.exists())
        return LoadResult::Missing;
    if (!f.open(QIODevice::ReadOnly) || f.size() > kMaxFileSize)
        return LoadResult::Unreadable;
    // in pieces: read(max) would reserve the whole limit for every read
    QByteArray bytes;
    while (!f.atEnd() && bytes.size() <= kMaxFileSize) {
        const QByteArray piece = f.read(64 * 1024);
        if (piece.isEmpty())
            break;
        bytes += piece;
    }
    if (f.error() != QFileDevice::NoError || bytes.size() > kMaxFileSize)
        return LoadResult::Unreadable;
    top = ParseStoreText(bytes);
    return LoadResult::Ok;
}

const TStoreKey* TSettingsStore::FindSection(const TStoreKey& top, const QString& section) const {
    const TStoreKey* k = &top;
    for (const QString& comp : m_root) {
        k = k->Find(comp);
        if (!k)
            return nullptr;
    }
    return section.isEmpty() ? k : k->Find(section);
}

TStoreKey& TSettingsStore::MakeSection(TStoreKey& top, const QString& section) const {
    TStoreKey* k = &top;
    for (const QString& comp : m_root)
        k = &k->FindOrAdd(comp);
    return section.isEmpty() ? *k : k->FindOrAdd(section);
}

bool TSettingsStore::Save(const TStoreKey& top) const {
    const QByteArray bytes = FormatStoreText(top);
    const QFileInfo fi(m_filePath);
    const QString dir = fi.absolutePath();
    if (!QFileInfo(dir).isDir()) {
        // the folder is ours: only its owner needs to look into it
        const QFileInfo di(dir);
        if (!QDir().mkpath(di.absolutePath()))
            return false;
        if (!QDir().mkdir(dir, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                   QFileDevice::ExeOwner) &&
            !QFileInfo(dir).isDir())
            return false;
    }
#ifdef Q_OS_WIN
    // the user's profile folder is private to the user already
    QSaveFile out(m_filePath);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    if (out.write(bytes) != bytes.size()) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
#else
    // QTemporaryFile creates its file with mode 0600, so the text is never
    // visible to others, not even for the moment before a chmod; the rename
    // replaces the old file in one step, so a reader sees old or new, whole.
    QTemporaryFile tmp(dir + u'/' + fi.fileName() + QLatin1String(".XXXXXX"));
    tmp.setAutoRemove(true);
    if (!tmp.open())
        return false;
    if (tmp.write(bytes) != bytes.size() || !tmp.flush() || ::fsync(tmp.handle()) != 0)
        return false;
    tmp.close();
    if (tmp.error() != QFileDevice::NoError)
        return false;
    if (std::rename(QFile::encodeName(tmp.fileName()).constData(),
                    QFile::encodeName(m_filePath).constData()) != 0)
        return false;
    tmp.setAutoRemove(false);
    // make the rename itself durable; the data is already on disk
    const int dfd = ::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    return true;
#endif
}

bool TSettingsStore::KeyExists() const {
    TStoreKey top;
    if (Load(top) != LoadResult::Ok)
        return false;
    return FindSection(top, {}) != nullptr;
}

bool TSettingsStore::ParseInteger(const QString& text, int& out) {
    const QString t = text.trimmed();
    qsizetype i = 0;
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-'))
        ++i;
    if (i == t.size())
        return false;
    for (qsizetype j = i; j < t.size(); ++j)
        if (t[j] < u'0' || t[j] > u'9')
            return false;
    bool ok = false;
    const int v = t.toInt(&ok, 10);
    if (!ok)
        return false; // out of range
    out = v;
    return true;
}

QString TSettingsStore::ReadString(const QString& section, const QString& name,
                                   const QString& def) const {
    TStoreKey top;
    Load(top);
    const TStoreKey* k = FindSection(top, section);
    const QString* v = k ? k->Value(name) : nullptr;
    return v ? *v : def;
}

int TSettingsStore::ReadInteger(const QString& section, const QString& name, int def) const {
    TStoreKey top;
    Load(top);
    const TStoreKey* k = FindSection(top, section);
    const QString* v = k ? k->Value(name) : nullptr;
    int out = def;
    if (v && ParseInteger(*v, out))
        return out;
    return def;
}

bool TSettingsStore::ReadBool(const QString& section, const QString& name, bool def) const {
    return ReadInteger(section, name, def ? 1 : 0) != 0;
}

bool TSettingsStore::ValueExists(const QString& section, const QString& name) const {
    TStoreKey top;
    Load(top);
    const TStoreKey* k = FindSection(top, section);
    return k && k->Value(name);
}

QStringList TSettingsStore::ValueNames(const QString& section) const {
    TStoreKey top;
    Load(top);
    QStringList names;
    if (const TStoreKey* k = FindSection(top, section))
        for (const auto& v : k->Values)
            names.append(v.first);
    return names;
}

bool TSettingsStore::WriteString(const QString& section, const QString& name,
                                 const QString& value) {
    TStoreKey top;
    // A file that exists but cannot be read must not be replaced by one that
    // holds only this value: every other setting would be lost.
    if (Load(top) == LoadResult::Unreadable)
        return false;
    MakeSection(top, section).SetValue(name, value);
    return Save(top);
}

bool TSettingsStore::WriteInteger(const QString& section, const QString& name, int value) {
    return WriteString(section, name, QString::number(value));
}

bool TSettingsStore::WriteBool(const QString& section, const QString& name, bool value) {
    return WriteString(section, name, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool TSettingsStore::EraseSection(const QString& section) {
    if (section.isEmpty())
        return false;
    TStoreKey top;
    const LoadResult r = Load(top);
    if (r == LoadResult::Missing)
        return true;
    if (r == LoadResult::Unreadable)
        return false;
    TStoreKey* k = &top;
    for (const QString& comp : m_root) {
        k = k->Find(comp);
        if (!k)
            return true;
    }
    if (!k->Remove(section))
        return true;
    return Save(top);
}

QStringList TSettingsStore::SubSections(const QString& section) const {
    TStoreKey top;
    Load(top);
    QStringList names;
    if (const TStoreKey* k = FindSection(top, section))
        for (const TStoreKey& sub : k->Subkeys)
            names.append(sub.Name);
    return names;
}
