#pragma once

#include <QByteArray>
#include <QString>

namespace flashcheck {

// What a read-only lookup of a key's default (unnamed) value under the classes root gives.
struct DefaultValue {
    enum class Status {
        CannotOpen, // no such key (or no lookup source at all)
        ReadFailed, // the key is there but its default value cannot be read as text
        Read,
    };
    Status status = Status::CannotOpen;
    QString text; // only meaningful when status == Read
};

// Read-only view of the classes root. The program never writes there.
class ClassesRoot {
  public:
    virtual ~ClassesRoot() = default;
    // keyPath is relative to the root, components separated by '\'.
    virtual DefaultValue readDefaultValue(const QString& keyPath) const = 0;
};

// The classes root as a registry export text file (what regedit writes: a
// "Windows Registry Editor Version 5.00" or "REGEDIT4" header, [key] lines,
// @="..." default values). Used where the platform has no registry.
class RegFileClassesRoot : public ClassesRoot {
  public:
    explicit RegFileClassesRoot(QString filePath);
    DefaultValue readDefaultValue(const QString& keyPath) const override;

    // <user config folder>/flashcheck/classes.reg ($XDG_CONFIG_HOME, default ~/.config).
    static QString defaultFilePath();

  private:
    QString m_filePath;
};

// The parsing behind RegFileClassesRoot, on the file's bytes. A default value
// missing from the text reads as CannotOpen, like a missing key.
DefaultValue readDefaultValueFromRegText(const QByteArray& fileBytes, const QString& keyPath);

// Registry export files come as UTF-16LE with a BOM (regedit 5), UTF-8 with or
// without a BOM, or Windows-1252 (REGEDIT4). Undecodable UTF-8 falls back to Windows-1252.
QString decodeRegText(const QByteArray& fileBytes);

#ifdef _WIN32
// HKEY_CLASSES_ROOT itself, opened for query access only.
class RegistryClassesRoot : public ClassesRoot {
  public:
    DefaultValue readDefaultValue(const QString& keyPath) const override;
};
#endif

} // namespace flashcheck
