#pragma once
// The text catalogue English.ini beside the program: the wording of every
// window, looked up by section and key with a compiled-in default, so the
// program reads normally with no catalogue at all.
//
// Reading rule (that of the Windows profile-string reader):
// - absent file, section or key: the default;
// - a key present with nothing after "=": the empty text;
// - blanks (spaces, tabs) around the value are dropped, then one enclosing
//   pair of double or single quotes is removed (how a value keeps blanks at
//   its ends);
// - section and key names match without regard to letter case;
// - at most 2047 characters of a value are returned.
// Lines are "[section]" or "key=value" (the first "=" splits); other lines,
// lines starting with ";" and entries before the first section are ignored.
// A section that appears twice is one section; the first entry of a key wins.
// The file is read as UTF-8 when it is valid UTF-8, otherwise as Windows-1252.

#include <QByteArray>
#include <QHash>
#include <QString>
#include <vector>

class TTextCatalogue {
  public:
    // Reads the file once; a missing or unreadable file gives no entries.
    explicit TTextCatalogue(const QString& iniPath);
    // the catalogue of the running program: <exe folder>/English.ini
    static QString DefaultPath();

    QString Read(const QString& section, const QString& key, const QString& def) const;
    // Read with the compiled-in default of that key (the first entry of the
    // key in CatalogueDefaults()); an unknown key gives the empty text and a
    // warning. The window overload picks that window's default where two
    // windows read one key with different defaults.
    QString Text(const QString& section, const QString& key) const;
    QString Text(const QString& section, const QString& key, const char* window) const;

    bool HasEntry(const QString& section, const QString& key) const;
    // the sections and keys found, for checking a catalogue file
    QList<QString> Sections() const;
    QList<QString> Keys(const QString& section) const;

    static constexpr int kMaxValueLength = 2047;

    // Builds the entries from the file's bytes (the reader the constructor uses).
    static TTextCatalogue FromBytes(const QByteArray& bytes);
    // UTF-8 if valid UTF-8 (a leading byte order mark dropped), else Windows-1252
    static QString DecodeText(const QByteArray& bytes);

  private:
    TTextCatalogue() = default;
    void Parse(const QString& text);

    struct Section {
        QString Name;                   // as first spelled in the file
        QList<QString> KeyOrder;        // keys as spelled, in file order
        QHash<QString, QString> Values; // case-folded key -> raw value text
    };
    QHash<QString, Section> m_sections; // case-folded section name -> section
    QList<QString> m_sectionOrder;
};

// One compiled-in text: the window that reads it, its section, key and default
// (UTF-8). Several windows may read one key; the list is in window-creation
// order and, within a window, in the order of its key list.
struct TCatalogueEntry {
    const char* Section;
    const char* Key;
    const char* Default;
    const char* Window;
};
const std::vector<TCatalogueEntry>& CatalogueDefaults();
