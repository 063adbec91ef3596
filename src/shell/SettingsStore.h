#pragma once
// The per-user settings store: the same keys, sections, value names and value
// texts the program has always kept under "Software\Vantrel Software\Murmelo.net",
// held in one text file in the user's config folder instead of a registry.
//
// Every read opens the file, parses it and forgets it again; every write
// re-reads the current file, changes one value and replaces the whole file
// atomically (temporary file beside it, flushed and synced, renamed over the
// old one). The file is created readable by its owner only, as it holds the
// FTP password. Names of keys and values match without regard to case.
//
// File format (UTF-8, one item per line, modelled on a registry export):
//
//   Murmelo Settings Store 1
//   [Software\Vantrel Software\Murmelo.net\Settings]
//   "MP3Path"="/home/me/Murmelo/MP3/"
//   "HZ"="22050"
//
//   [Software\Vantrel Software\Murmelo.net\Multiple\Ftp\"Site \\ \"A\""]
//   "FTP"="ftp.example.com"
//
// - A line "[path]" opens a key; the path is the key's name components from
//   the top, separated by "\". A component made only of printable characters
//   other than \ [ ] " and without blanks at its ends is written bare; any
//   other component is written in double quotes with the escapes below, so
//   every key name (brackets, backslashes, quotes, line breaks) survives.
// - A line "name"="text" is a value of the key opened last; both sides are
//   quoted and escaped.
// - Escapes inside quotes: \\ \" \n \r \t and \uXXXX (four hex digits, one
//   UTF-16 unit) for every other character that is not printable.
// - Empty lines, lines starting with ";" or "#", and the header line are
//   skipped. A line that does not parse is skipped too, so a damaged file
//   loses only its damaged lines; a value line before any good key line is
//   dropped. Keys and values are merged case-blind; the last value wins.
// - Subkeys are kept sorted case-blind (the order a registry lists them);
//   values keep the order in which they were first written.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

// One key of the store's tree, as parsed from or written to the file.
struct TStoreKey {
    QString Name;
    QList<std::pair<QString, QString>> Values; // name, text; in write order
    std::vector<TStoreKey> Subkeys;            // sorted case-blind by Name

    const TStoreKey* Find(const QString& name) const;
    TStoreKey* Find(const QString& name);
    TStoreKey& FindOrAdd(const QString& name);
    bool Remove(const QString& name);
    const QString* Value(const QString& name) const;
    void SetValue(const QString& name, const QString& text);
};

// Reader and writer of the file format above. The reader never fails: what
// it cannot parse it skips, and sets *damaged when it skipped anything.
TStoreKey ParseStoreText(const QByteArray& bytes, bool* damaged = nullptr);
QByteArray FormatStoreText(const TStoreKey& top);

class TSettingsStore {
  public:
    // rootKey names fixed keys below the product key, separated by "\"
    // (e.g. "Multiple"); sections are then relative to it. A section argument
    // is always ONE key name, taken literally: a "\" in it is part of the name,
    // so profile names of any text work. To reach a key whose name is user
    // text and address sections below it, use Below().
    explicit TSettingsStore(QString filePath, QString rootKey = {});

    // <GenericConfigLocation>/Vantrel Software/Murmelo.net.reg
    static QString DefaultFilePath();
    // "Software\Vantrel Software\Murmelo.net", the key every store lives under
    static QStringList ProductKeyPath();

    // A store rooted at the subkey `name` (any text) of this store's root.
    TSettingsStore Below(const QString& name) const;

    QString FilePath() const { return m_filePath; }

    // The root key of this store exists (for the default root: the product
    // key exists, which is false before the first run has saved anything).
    bool KeyExists() const;

    QString ReadString(const QString& section, const QString& name, const QString& def) const;
    int ReadInteger(const QString& section, const QString& name, int def) const;
    bool ReadBool(const QString& section, const QString& name, bool def) const;
    bool ValueExists(const QString& section, const QString& name) const;
    // value names of a section in stored order (empty when it does not exist)
    QStringList ValueNames(const QString& section) const;

    // false when the file could not be replaced; the old file is then intact
    bool WriteString(const QString& section, const QString& name, const QString& value);
    bool WriteInteger(const QString& section, const QString& name, int value);
    bool WriteBool(const QString& section, const QString& name, bool value);

    // Removes the section's key with all its values and subkeys; true also
    // when there was nothing to remove.
    bool EraseSection(const QString& section);
    // names of the keys directly below `section`, sorted case-blind
    QStringList SubSections(const QString& section) const;

    // integer text rule shared with the profile reader: optional blanks and
    // sign, decimal digits, within int range
    static bool ParseInteger(const QString& text, int& out);

  private:
    enum class LoadResult { Ok, Missing, Unreadable };
    LoadResult Load(TStoreKey& top) const;
    bool Save(const TStoreKey& top) const;
    const TStoreKey* FindSection(const TStoreKey& top, const QString& section) const;
    TStoreKey& MakeSection(TStoreKey& top, const QString& section) const;

    QString m_filePath;
    QStringList m_root; // full path from the top, product key included
};
